// No screen natively: the window keeps its 96-DPI sizes.
#include "app/dpi_screen.h"

bool read_screen_dpi(std::int32_t&, std::int32_t&) noexcept {
    return false;
}
