// The window element's size: its child plus margins, at least WIDTH × HEIGHT,
// and the size limits MINWIDTH, MINHEIGHT, MAXWIDTH, MAXHEIGHT.
#pragma once

#include <cstdint>

#include "dialog/layout_types.h"
#include "dialog/single_child_layout.h"

inline constexpr std::int16_t kWindowLimitAbsent = -2;
inline constexpr std::int16_t kWindowLimitAuto = -1;

// As read from the definition: absent, AUTO, or a number cut to 16 bits.
struct WindowSizeLimits {
    std::int16_t min_width = kWindowLimitAbsent;
    std::int16_t min_height = kWindowLimitAbsent;
    std::int16_t max_width = kWindowLimitAbsent;
    std::int16_t max_height = kWindowLimitAbsent;

    [[nodiscard]] bool all_absent() const;
};

// The outcome of the window element's size pass.
struct WindowSizeRequest {
    LayoutSize size;          // the window's requested inner size
    bool has_bounds = false;  // false when all four limits are absent: leave the window's limits alone
    // For window_bounds: kIgnore (-65535) where a limit is absent.
    std::int32_t min_width = 0;
    std::int32_t min_height = 0;
    std::int32_t max_width = 0;
    std::int32_t max_height = 0;
};

// Stores the child's size in `layout`. w = max(child + left + right, WIDTH),
// h likewise; a number in MINWIDTH raises w to it, AUTO takes w; MAXWIDTH's
// AUTO takes w after that. Heights the same.
[[nodiscard]] WindowSizeRequest window_requested_size(const WindowSizeLimits& limits,
                                                      SingleChildLayout& layout,
                                                      LayoutSize child,
                                                      LayoutSize minimum);

// The child's rectangle in a window placed at `window`: at (left, top), as
// large as the room inside the margins but never below the child's stored
// request. Expanding and alignment do not apply to a window.
[[nodiscard]] LayoutRect window_child_rect(const SingleChildLayout& layout, LayoutRect window);
