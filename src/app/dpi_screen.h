// The screen's DPI as the platform reports it (the seam under compute_dpi_scale).
#pragma once

#include <cstdint>

// Reads the horizontal and vertical DPI of the whole screen. False when there
// is no screen device context (the natively built library has none).
[[nodiscard]] bool read_screen_dpi(std::int32_t& dpi_x, std::int32_t& dpi_y) noexcept;
