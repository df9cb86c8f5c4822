// The screen's DPI from the device context of the whole screen.
#include "app/dpi_screen.h"

#include "system/win32.h"

bool read_screen_dpi(std::int32_t& dpi_x, std::int32_t& dpi_y) noexcept {
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
    dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return true;
}
