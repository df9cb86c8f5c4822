// The DPI-dependent sizes of the main window.
#include "app/dpi_values.h"

#include <cmath>

#include "app/dpi_screen.h"
#include "dialog/runtime_names.h"

float scale_x = 1.0f;
float scale_y = 1.0f;
DpiSizes dpi_sizes{};

namespace {

struct NamedSize {
    const char16_t* name;
    std::int32_t DpiSizes::*field;
    bool horizontal;
    std::int32_t base;  // at 96 DPI
};

constexpr NamedSize kNamedSizes[] = {
    {u"DPIx1", &DpiSizes::x1, true, 600},  {u"DPIx2", &DpiSizes::x2, true, 400}, {u"DPIx3", &DpiSizes::x3, true, 86},
    {u"DPIx4", &DpiSizes::x4, true, 86},   {u"DPIx5", &DpiSizes::x5, true, 0},   {u"DPIy1", &DpiSizes::y1, false, 420},
    {u"DPIy2", &DpiSizes::y2, false, 300}, {u"DPIy3", &DpiSizes::y3, false, 0},  {u"DPIy4", &DpiSizes::y4, false, 24},
    {u"DPIy5", &DpiSizes::y5, false, 24},  {u"DPIy6", &DpiSizes::y6, false, 16},
};

}  // namespace

void register_dpi_variables() noexcept {
    for (const NamedSize& size : kNamedSizes)
        register_runtime_variable(size.name, &(dpi_sizes.*size.field), kRuntimeInteger);
}

float dpi_factor(std::int32_t dpi) noexcept {
    if (dpi == 0)
        return 1.0f;
    // The 32-bit build computes on the x87 stack: the volatile store is what
    // rounds to single precision there.
    volatile float factor = static_cast<float>(dpi / 96.0);
    return factor;
}

std::int32_t scale_size(std::int32_t base, float scale) noexcept {
    volatile float product = scale * static_cast<float>(base);
    const double value = product;
    if (std::isnan(value))
        return 0;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        rounded = lower + 1.0;
    if (!(rounded >= -2147483648.0))
        return INT32_MIN;
    if (rounded > 2147483647.0)
        return INT32_MAX;
    return static_cast<std::int32_t>(rounded);
}

void apply_dpi_reading(std::int32_t dpi_x, std::int32_t dpi_y) noexcept {
    if (dpi_x != 0)
        scale_x = dpi_factor(dpi_x);
    if (dpi_y != 0)
        scale_y = dpi_factor(dpi_y);
}

void compute_dpi_scale() noexcept {
    std::int32_t dpi_x = 0;
    std::int32_t dpi_y = 0;
    if (read_screen_dpi(dpi_x, dpi_y))
        apply_dpi_reading(dpi_x, dpi_y);
}

void set_dpi_sizes() noexcept {
    for (const NamedSize& size : kNamedSizes)
        dpi_sizes.*size.field = scale_size(size.base, size.horizontal ? scale_x : scale_y);
}
