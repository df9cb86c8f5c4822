// Where a panel puts the page of its selected tab, apart from measuring.
#pragma once

#include <cstdint>

struct PageRect {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PageRect&) const = default;
};

// With visual styles: the tab control's display area (its client rectangle as
// the control adjusts it), one pixel further left and down. Without: below
// rows of tabs tab_height high, inside the control's plain edge.
[[nodiscard]] PageRect styled_page_rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
[[nodiscard]] PageRect plain_page_rect(std::int32_t client_width,
                                       std::int32_t client_height,
                                       std::int32_t rows,
                                       std::int32_t tab_height);
