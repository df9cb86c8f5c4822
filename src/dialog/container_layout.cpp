// Size and place arithmetic of the container gadgets and of the list view and
// text gadgets.
#include "dialog/container_layout.h"

#include <algorithm>

namespace {

// max(minimum, margins + extra + child) per axis, storing the child's size.
LayoutSize wrap_child(SingleChildLayout& layout, LayoutSize child, LayoutSize extra, LayoutSize minimum) {
    layout.child = {clamp_layout(child.width), clamp_layout(child.height)};
    const LayoutSize m = layout.margins();
    return at_least({clamp_layout(std::int64_t{m.width} + clamp_layout(extra.width) + layout.child.width),
                     clamp_layout(std::int64_t{m.height} + clamp_layout(extra.height) + layout.child.height)},
                    minimum);
}

constexpr std::int32_t kFrameSideInset = 4;
constexpr std::int32_t kFrameMinimumTopInset = 10;

}  // namespace

LayoutSize container_borders(std::uint32_t flags, std::int32_t system_border_width) {
    if (flags & kContainerFlatFlag)
        return {2, 2};
    if (flags == 0)
        return {};
    const std::int32_t border = clamp_layout(2 * std::int64_t{system_border_width});
    return {border, border};
}

LayoutSize container_requested_size(SingleChildLayout& layout,
                                    LayoutSize borders,
                                    LayoutSize child,
                                    LayoutSize minimum) {
    return wrap_child(layout, child, borders, minimum);
}

LayoutRect container_content_area(LayoutSize borders, LayoutSize given) {
    const std::int32_t bw = clamp_layout(borders.width);
    const std::int32_t bh = clamp_layout(borders.height);
    return {bw / 2, bh / 2, clamp_layout(std::int64_t{clamp_layout(given.width)} - bw),
            clamp_layout(std::int64_t{clamp_layout(given.height)} - bh)};
}

LayoutSize canvas_requested_size(SingleChildLayout& layout, LayoutSize child, LayoutSize minimum) {
    return wrap_child(layout, child, {}, minimum);
}

LayoutSize tab_requested_size(SingleChildLayout& layout, LayoutSize child, LayoutSize minimum) {
    return wrap_child(layout, child, {}, minimum);
}

std::int32_t frame_top_inset(std::int32_t text_height) {
    return clamp_layout(std::max(text_height, kFrameMinimumTopInset));
}

LayoutSize frame_requested_size(SingleChildLayout& layout,
                                std::int32_t top_inset,
                                LayoutSize child,
                                LayoutSize minimum) {
    return wrap_child(layout, child,
                      {2 * kFrameSideInset, clamp_layout(std::int64_t{kFrameSideInset} + clamp_layout(top_inset))},
                      minimum);
}

LayoutRect frame_content_area(std::int32_t top_inset, LayoutRect frame) {
    const std::int64_t top = clamp_layout(top_inset);
    return {clamp_layout(std::int64_t{clamp_layout(frame.x)} + kFrameSideInset),
            clamp_layout(clamp_layout(frame.y) + top),
            clamp_layout(std::int64_t{clamp_layout(frame.width)} - 2 * kFrameSideInset),
            clamp_layout(clamp_layout(frame.height) - kFrameSideInset - top)};
}

LayoutSize scroll_area_requested_size(const ScrollAreaSettings& settings,
                                      SingleChildLayout& layout,
                                      LayoutSize child,
                                      LayoutSize minimum) {
    // Only the scrolled direction grows with the child, by a scroll bar's width.
    const LayoutSize wrapped = wrap_child(layout, child, {kScrollBarAllowance, kScrollBarAllowance}, minimum);
    return {settings.scrolling == ScrollAreaScrolling::vertical ? wrapped.width : clamp_layout(minimum.width),
            settings.scrolling == ScrollAreaScrolling::horizontal ? wrapped.height : clamp_layout(minimum.height)};
}

ScrollAreaPlacement scroll_area_place(const ScrollAreaSettings& settings,
                                      const SingleChildLayout& layout,
                                      LayoutSize given) {
    const LayoutSize m = layout.margins();
    std::int64_t inner_width =
        std::max<std::int64_t>(std::int64_t{layout.child.width} + m.width, clamp_layout(settings.inner_width));
    std::int64_t inner_height =
        std::max<std::int64_t>(std::int64_t{layout.child.height} + m.height, clamp_layout(settings.inner_height));
    if (settings.scrolling == ScrollAreaScrolling::vertical)
        inner_width = std::int64_t{clamp_layout(given.width)} - kScrollBarAllowance;
    if (settings.scrolling == ScrollAreaScrolling::horizontal)
        inner_height = std::int64_t{clamp_layout(given.height)} - kScrollBarAllowance;

    ScrollAreaPlacement placement;
    placement.child = layout.place_child({0, 0, clamp_layout(inner_width), clamp_layout(inner_height)});
    if (settings.inner_width == kScrollAreaAuto)
        placement.inner_width = clamp_layout(std::int64_t{m.width} + placement.child.width);
    if (settings.inner_height == kScrollAreaAuto)
        placement.inner_height = clamp_layout(std::int64_t{m.height} + placement.child.height);
    return placement;
}

LayoutSize panel_requested_size(std::span<const LayoutSize> pages, std::int32_t tab_strip_height, LayoutSize minimum) {
    std::int32_t widest = 0;
    std::int32_t highest = 0;
    for (const LayoutSize& page : pages) {
        widest = std::max(widest, clamp_layout(page.width));
        highest = std::max(highest, clamp_layout(page.height));
    }
    return at_least({clamp_layout(std::int64_t{widest} + 4),
                     clamp_layout(std::int64_t{highest} + clamp_layout(tab_strip_height) + 2)},
                    minimum);
}

LayoutSize splitter_requested_size(std::uint32_t flags, LayoutSize pane1, LayoutSize pane2, LayoutSize minimum) {
    const std::int64_t bar = flags & kSplitterSeparatorFlag ? 7 : 4;
    const LayoutSize a{clamp_layout(pane1.width), clamp_layout(pane1.height)};
    const LayoutSize b{clamp_layout(pane2.width), clamp_layout(pane2.height)};
    if (flags & kSplitterVerticalFlag)
        return at_least({clamp_layout(std::int64_t{a.width} + b.width + bar), std::max(a.height, b.height)}, minimum);
    return at_least({std::max(a.width, b.width), clamp_layout(std::int64_t{a.height} + b.height + bar)}, minimum);
}

std::int32_t splitter_auto_minimum(std::uint32_t flags, LayoutSize pane) {
    return clamp_layout(flags & kSplitterVerticalFlag ? pane.width : pane.height);
}

std::int32_t listview_requested_height(std::int32_t height_field, std::int32_t item_height, std::int32_t edge) {
    const std::int64_t height = clamp_layout(height_field);
    const std::int64_t row = clamp_layout(item_height);
    if (row <= 0)
        return static_cast<std::int32_t>(height);
    const std::int64_t edges = 2 * std::int64_t{clamp_layout(edge)};
    const std::int64_t rows = (height - edges) / row;
    if (rows * row + edges < height)
        return clamp_layout((rows + 1) * row + edges);
    return static_cast<std::int32_t>(height);
}

LayoutRect text_gadget_rect(LayoutRect given,
                            std::uint32_t flags,
                            std::int32_t height_field,
                            std::int32_t required_height) {
    if (flags & kTextBorderFlag)
        return given;
    const std::int64_t need = std::max(height_field, required_height);
    if (need > std::int64_t{given.height} - 2)
        return given;
    given.y = clamp_layout(std::int64_t{given.y} + 2);
    given.height -= 2;
    return given;
}
