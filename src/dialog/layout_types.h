// Plain values shared by the layout arithmetic of the dialog engine: sizes,
// rectangles, expand modes, alignments, and the range every result stays in.
#pragma once

#include <algorithm>
#include <cstdint>

// Layout results stay within ±kLayoutLimit. Inputs beyond it (hostile WIDTH,
// SPACING or MARGIN values, huge spans) are taken as the limit, all sums and
// products are formed in 64 bits, and every stored or returned number is
// clamped, so no definition can make the arithmetic overflow.
inline constexpr std::int32_t kLayoutLimit = 1'000'000;

[[nodiscard]] constexpr std::int32_t clamp_layout(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kLayoutLimit, kLayoutLimit));
}

struct LayoutSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const LayoutSize&) const = default;
};

struct LayoutRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// How spare or missing length along a line is shared (boxes, grid columns and rows).
enum class LayoutExpand : std::int32_t {
    all = 1,    // every child grows or shrinks by an equal amount
    none = 2,   // lengths as requested, the line aligned
    equal = 3,  // equal shares of the available length
    item = 4,   // one chosen child takes the difference
};

// Alignment along one axis; unset behaves as start.
enum class LayoutAlign : std::int32_t {
    unset = 0,
    start = 1,   // left or top
    centre = 2,  // slack halved, truncated toward zero
    end = 3,     // right or bottom
};

// The common size rule of an element: 0 × 0 when folded; otherwise its own
// requested size, with a dimension reported as 0 when its WIDTH or HEIGHT
// field is -1.
[[nodiscard]] LayoutSize common_requested_size(bool folded, LayoutSize own, LayoutSize fields);

// max(required, WIDTH) × max(required, HEIGHT): the gadget elements' rule.
[[nodiscard]] LayoutSize at_least(LayoutSize required, LayoutSize minimum);
