// The window's sizes at common DPI settings, as the dialog engine reads them.
#include "app/dpi_values.h"

#include <gtest/gtest.h>

#include "dialog/runtime_names.h"

namespace {

struct Expected {
    std::int32_t dpi;
    std::int32_t window_w, window_h, list_w, list_h, button_w, button_h, bar_h;
};

// 86 x 1.25 = 107.5 rounds up to the even 108; 86 x 1.75 = 150.5 down to 150.
constexpr Expected kTable[] = {
    {96, 600, 420, 400, 300, 86, 24, 16},  {120, 750, 525, 500, 375, 108, 30, 20},
    {144, 900, 630, 600, 450, 129, 36, 24}, {168, 1050, 735, 700, 525, 150, 42, 28},
    {192, 1200, 840, 800, 600, 172, 48, 32},
};

struct DpiValues : ::testing::Test {
    void SetUp() override {
        scale_x = scale_y = 1.0f;
        register_dpi_variables();
    }
    void TearDown() override {
        scale_x = scale_y = 1.0f;
        set_dpi_sizes();
    }
};

TEST_F(DpiValues, NamedSizesFollowTheScreen) {
    for (const Expected& e : kTable) {
        SCOPED_TRACE(e.dpi);
        scale_x = scale_y = 1.0f;
        apply_dpi_reading(e.dpi, e.dpi);
        set_dpi_sizes();
        EXPECT_EQ(dialog_value(u"DPIx1"), e.window_w);
        EXPECT_EQ(dialog_value(u"DPIy1"), e.window_h);
        EXPECT_EQ(dialog_value(u"DPIx2"), e.list_w);
        EXPECT_EQ(dialog_value(u"DPIy2"), e.list_h);
        EXPECT_EQ(dialog_value(u"DPIx3"), e.button_w);
        EXPECT_EQ(dialog_value(u"DPIx4"), e.button_w);
        EXPECT_EQ(dialog_value(u"DPIy4"), e.button_h);
        EXPECT_EQ(dialog_value(u"DPIy5"), e.button_h);
        EXPECT_EQ(dialog_value(u"DPIy6"), e.bar_h);
        EXPECT_EQ(dialog_value(u"DPIx5"), 0);
        EXPECT_EQ(dialog_value(u"DPIy3"), 0);
    }
}

TEST_F(DpiValues, AxesScaleIndependentlyAndZeroReadingsKeepTheirFactor) {
    apply_dpi_reading(120, 144);
    set_dpi_sizes();
    EXPECT_EQ(dialog_value(u"DPIx3"), 108);
    EXPECT_EQ(dialog_value(u"DPIy4"), 36);

    apply_dpi_reading(0, 96);  // no horizontal reading: 1.25 stays
    EXPECT_EQ(scale_x, 1.25f);
    EXPECT_EQ(scale_y, 1.0f);
    apply_dpi_reading(168, 0);
    EXPECT_EQ(scale_x, 1.75f);
    EXPECT_EQ(scale_y, 1.0f);
}

TEST(ScaleSize, RoundsHalvesToEvenInSinglePrecision) {
    EXPECT_EQ(scale_size(86, 1.25f), 108);   // 107.5
    EXPECT_EQ(scale_size(86, 1.75f), 150);   // 150.5
    EXPECT_EQ(scale_size(5, 1.5f), 8);       // 7.5
    EXPECT_EQ(scale_size(3, 1.5f), 4);       // 4.5
    EXPECT_EQ(scale_size(-3, 1.5f), -4);     // -4.5
    EXPECT_EQ(scale_size(7, 1.5f), 10);      // 10.5
    EXPECT_EQ(scale_size(0, 3.0f), 0);
    // 82 DPI: 600 x (82 / 96) is 512.50001 with the factor in double
    // precision, exactly 512.5 (to the even 512) in single precision.
    EXPECT_EQ(scale_size(600, dpi_factor(82)), 512);
    EXPECT_EQ(scale_size(24, dpi_factor(82)), 20);
    EXPECT_EQ(dpi_factor(82), static_cast<float>(82 / 96.0));
    EXPECT_EQ(scale_size(2000000000, 4.0f), INT32_MAX);
}

}  // namespace
