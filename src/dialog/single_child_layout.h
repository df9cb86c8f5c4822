// Margins, stretching and alignment of an element that holds one child: the
// single box, the window element and the container gadgets.
#pragma once

#include <cstdint>
#include <optional>

#include "dialog/layout_types.h"

// Margin defaults by kind.
inline constexpr std::int32_t kWindowMargin = 8;
inline constexpr std::int32_t kFrameMargin = 5;
inline constexpr std::int32_t kSingleChildMargin = 10;  // singlebox, container, canvas, tab, scrollarea

struct SingleChildLayout {
    std::int32_t top = kSingleChildMargin;
    std::int32_t bottom = kSingleChildMargin;
    std::int32_t left = kSingleChildMargin;
    std::int32_t right = kSingleChildMargin;
    bool expand_height = true;
    bool expand_width = true;
    std::int32_t expand_height_cap = 0;  // EXPANDHEIGHT: 0 = no cap
    std::int32_t expand_width_cap = 0;   // EXPANDWIDTH: 0 = no cap
    LayoutAlign vertical = LayoutAlign::unset;
    LayoutAlign horizontal = LayoutAlign::unset;
    LayoutSize child;  // the child's requested size from the last size pass

    SingleChildLayout() = default;
    explicit SingleChildLayout(std::int32_t margin) : top(margin), bottom(margin), left(margin), right(margin) {}

    // left + right and top + bottom.
    [[nodiscard]] LayoutSize margins() const;

    // The child's rectangle within the content area: margins taken off, then
    // per axis: more room than requested gives the full room when expanding
    // (or max(request, cap) under a cap smaller than the room) and the request
    // otherwise, moved by the alignment; no more room than requested gives the
    // room as it is.
    [[nodiscard]] LayoutRect place_child(LayoutRect content) const;
};

// singlebox size pass: stores the child's size (0 × 0 without a child) and
// returns max(WIDTH, margins + child) × max(HEIGHT, margins + child).
LayoutSize singlebox_measure(SingleChildLayout& layout, std::optional<LayoutSize> child, LayoutSize minimum);
