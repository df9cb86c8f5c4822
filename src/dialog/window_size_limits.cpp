// The window element's requested size, size limits and child rectangle.
#include "dialog/window_size_limits.h"

#include <algorithm>

#include "window/window.h"  // kIgnore

namespace {

// One axis: the limits read for it turn into window_bounds arguments and may
// raise the requested length.
void resolve_axis(std::int16_t min_limit,
                  std::int16_t max_limit,
                  std::int32_t& length,
                  std::int32_t& min_out,
                  std::int32_t& max_out) {
    min_out = kIgnore;
    if (min_limit == kWindowLimitAuto) {
        min_out = length;
    } else if (min_limit != kWindowLimitAbsent) {
        min_out = min_limit;
        length = std::max<std::int32_t>(length, min_limit);
    }
    max_out = kIgnore;
    if (max_limit == kWindowLimitAuto)
        max_out = length;
    else if (max_limit != kWindowLimitAbsent)
        max_out = max_limit;
}

}  // namespace

bool WindowSizeLimits::all_absent() const {
    return min_width == kWindowLimitAbsent && min_height == kWindowLimitAbsent && max_width == kWindowLimitAbsent &&
           max_height == kWindowLimitAbsent;
}

WindowSizeRequest window_requested_size(const WindowSizeLimits& limits,
                                        SingleChildLayout& layout,
                                        LayoutSize child,
                                        LayoutSize minimum) {
    WindowSizeRequest request;
    request.size = singlebox_measure(layout, child, minimum);
    if (limits.all_absent())
        return request;
    request.has_bounds = true;
    resolve_axis(limits.min_width, limits.max_width, request.size.width, request.min_width, request.max_width);
    resolve_axis(limits.min_height, limits.max_height, request.size.height, request.min_height, request.max_height);
    return request;
}

LayoutRect window_child_rect(const SingleChildLayout& layout, LayoutRect window) {
    const LayoutSize m = layout.margins();
    return {
        clamp_layout(std::int64_t{clamp_layout(window.x)} + clamp_layout(layout.left)),
        clamp_layout(std::int64_t{clamp_layout(window.y)} + clamp_layout(layout.top)),
        clamp_layout(std::max<std::int64_t>(std::int64_t{clamp_layout(window.width)} - m.width, layout.child.width)),
        clamp_layout(
            std::max<std::int64_t>(std::int64_t{clamp_layout(window.height)} - m.height, layout.child.height))};
}
