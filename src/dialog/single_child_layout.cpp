// Margins, stretching and alignment of an element that holds one child.
#include "dialog/single_child_layout.h"

#include <algorithm>

namespace {

struct Span {
    std::int64_t start;
    std::int64_t length;
};

// One axis of the placement: `room` is what is left inside the margins.
Span fit(Span room, std::int64_t request, bool expand, std::int64_t cap, LayoutAlign align) {
    if (room.length <= request)
        return room;
    std::int64_t length = request;
    if (expand)
        length = cap > 0 && cap < room.length ? std::max(request, cap) : room.length;
    if (align == LayoutAlign::centre)
        room.start += (room.length - length) / 2;
    else if (align == LayoutAlign::end)
        room.start += room.length - length;
    return {room.start, length};
}

}  // namespace

LayoutSize SingleChildLayout::margins() const {
    return {clamp_layout(std::int64_t{clamp_layout(left)} + clamp_layout(right)),
            clamp_layout(std::int64_t{clamp_layout(top)} + clamp_layout(bottom))};
}

LayoutRect SingleChildLayout::place_child(LayoutRect content) const {
    const Span across = fit({std::int64_t{clamp_layout(content.x)} + clamp_layout(left),
                             std::int64_t{clamp_layout(content.width)} - margins().width},
                            clamp_layout(child.width), expand_width, clamp_layout(expand_width_cap), horizontal);
    const Span down = fit({std::int64_t{clamp_layout(content.y)} + clamp_layout(top),
                           std::int64_t{clamp_layout(content.height)} - margins().height},
                          clamp_layout(child.height), expand_height, clamp_layout(expand_height_cap), vertical);
    return {clamp_layout(across.start), clamp_layout(down.start), clamp_layout(across.length),
            clamp_layout(down.length)};
}

LayoutSize singlebox_measure(SingleChildLayout& layout, std::optional<LayoutSize> child, LayoutSize minimum) {
    layout.child = child ? LayoutSize{clamp_layout(child->width), clamp_layout(child->height)} : LayoutSize{};
    const LayoutSize m = layout.margins();
    return at_least({clamp_layout(std::int64_t{m.width} + layout.child.width),
                     clamp_layout(std::int64_t{m.height} + layout.child.height)},
                    minimum);
}
