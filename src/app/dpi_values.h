// The window's sizes at the screen's DPI: design sizes for 96 DPI, scaled once
// at start-up and published by name to the dialog definition.
#pragma once

#include <cstdint>

// The scale factors (single precision, as the sizes are computed with them);
// 1.0 until measured.
extern float scale_x;
extern float scale_y;

// The eleven named sizes, read through their addresses by the dialog engine.
struct DpiSizes {
    std::int32_t x1, x2, x3, x4, x5;      // window, list and button widths, row spacing
    std::int32_t y1, y2, y3, y4, y5, y6;  // window, list, link margin, button and bar heights
};
extern DpiSizes dpi_sizes;

// Registers "DPIx1" ... "DPIx5", "DPIy1" ... "DPIy6" in that order as signed
// 32-bit variables of the runtime name registry.
void register_dpi_variables() noexcept;

// The factor for one DPI reading: dpi / 96 in single precision, 1.0 for 0 (no
// reading).
[[nodiscard]] float dpi_factor(std::int32_t dpi) noexcept;

// base x scale, computed in single precision and rounded to the nearest
// integer, exact halves to the even neighbour (86 x 1.75 = 150.5 gives 150).
[[nodiscard]] std::int32_t scale_size(std::int32_t base, float scale) noexcept;

// Sets scale_x and scale_y from the screen's DPI; without a screen device
// context both stay as they are, a zero reading leaves its factor.
void compute_dpi_scale() noexcept;

// The factors for the readings of one screen: 0 for an axis leaves its
// factor as it is.
void apply_dpi_reading(std::int32_t dpi_x, std::int32_t dpi_y) noexcept;

// Sets every named size to its 96-DPI base times its axis's factor.
void set_dpi_sizes() noexcept;
