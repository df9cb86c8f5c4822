// Row and column boxes: measure children along a line and share the available
// length among them when placed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "dialog/layout_types.h"

enum class BoxAxis : std::uint8_t {
    horizontal,  // hbox: a child's length is its width
    vertical,    // vbox: a child's length is its height
};

// A box's layout state. The size pass stores every child's length and the
// total; the place pass uses only what was stored, so a box can be placed
// again at another size without measuring. Any number of children.
struct BoxLayout {
    BoxAxis axis = BoxAxis::horizontal;
    std::int32_t spacing = 5;
    LayoutExpand expand = LayoutExpand::all;
    std::int32_t expand_item = 0;                // zero-based, for LayoutExpand::item
    LayoutAlign alignment = LayoutAlign::start;  // for LayoutExpand::none
    std::int32_t total_length = 0;               // lengths plus gaps from the last size pass
    std::vector<std::int32_t> child_lengths;     // from the last size pass

    // Size pass over the children's requested sizes in order (folded children
    // included with what they report). `minimum` holds the WIDTH and HEIGHT
    // fields. With no children the total length keeps its previous value.
    LayoutSize measure(std::span<const LayoutSize> children, LayoutSize minimum);

    // Place pass: one entry per child (folded.size() children; a child past
    // the stored lengths counts as length 0). A folded child gets no rectangle
    // (nullopt) and takes no room; it still counts for item indices.
    [[nodiscard]] std::vector<std::optional<LayoutRect>> place(LayoutRect area, std::span<const bool> folded) const;
    [[nodiscard]] std::vector<std::optional<LayoutRect>> place(LayoutRect area, const std::vector<bool>& folded) const;
};

// A stack of children on one rectangle: max(WIDTH, widest) × max(HEIGHT,
// highest); every child is then placed on the whole rectangle.
[[nodiscard]] LayoutSize multibox_requested_size(std::span<const LayoutSize> children, LayoutSize minimum);
