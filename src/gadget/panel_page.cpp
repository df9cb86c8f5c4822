// Page rectangles of the panel gadget.
#include "gadget/panel_page.h"

#include <algorithm>

PageRect styled_page_rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return {left - 1, top + 1, std::max(right - left, 0), std::max(bottom - top - 1, 0)};
}

PageRect plain_page_rect(std::int32_t client_width,
                         std::int32_t client_height,
                         std::int32_t rows,
                         std::int32_t tab_height) {
    const std::int32_t strip = rows * tab_height;
    return {2, strip + 4, std::max(client_width - 4, 0), std::max(client_height - strip - 6, 0)};
}
