#include "font/font_request.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(FontRequest, TenPointsAtTheCommonScreenDpis) {
    struct Row {
        std::int32_t dpi;
        std::int32_t height;
    };
    // 10 × dpi / 72: 13.33, 16.67, 20, 23.33.
    for (const Row& row : {Row{96, -13}, Row{120, -17}, Row{144, -20}, Row{168, -23}}) {
        EXPECT_EQ(font_pixel_height(10, row.dpi), row.height) << row.dpi << " DPI";
    }
    EXPECT_EQ(font_pixel_height(9, 96), -12);
    EXPECT_EQ(font_pixel_height(8, 168), -19);  // 18.67
    EXPECT_EQ(font_pixel_height(-10, 96), 13);  // a positive height asks for the cell height
}

TEST(FontRequest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(mul_div(1, 3, 2), 2);
    EXPECT_EQ(mul_div(-1, 3, 2), -2);
    EXPECT_EQ(mul_div(1, -3, 2), -2);
    EXPECT_EQ(mul_div(1, 3, -2), -2);
    EXPECT_EQ(mul_div(-1, 3, -2), 2);
    EXPECT_EQ(mul_div(5, 1, 4), 1);  // 1.25
    EXPECT_EQ(mul_div(7, 1, 4), 2);  // 1.75
    EXPECT_EQ(mul_div(-7, 1, 4), -2);
}

TEST(FontRequest, MulDivKeepsTheWholeProductAndReportsWhatDoesNotFit) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(mul_div(kMax, kMax, kMax), kMax);  // the product needs 62 bits
    EXPECT_EQ(mul_div(65536, 65536, 2), -1);
    EXPECT_EQ(mul_div(-65536, 65536, 2), -1);  // -2^31 counts as outside
    EXPECT_EQ(mul_div(10, 96, 0), -1);
}

TEST(FontRequest, FlagsSelectWeightStylesAndQuality) {
    const FontRequest plain = font_request(10, 96, 0);
    EXPECT_EQ(plain.weight, 400);
    EXPECT_EQ(plain.italic + plain.underline + plain.strike_out + plain.quality, 0);

    const FontRequest bold_italic = font_request(10, 96, PB_Font_Bold | PB_Font_Italic);
    EXPECT_EQ(bold_italic.weight, 700);
    EXPECT_EQ(bold_italic.italic, 1);
    EXPECT_EQ(bold_italic.underline + bold_italic.strike_out + bold_italic.quality, 0);

    const FontRequest lines = font_request(10, 96, PB_Font_Underline | PB_Font_StrikeOut);
    EXPECT_EQ(lines.underline, 1);
    EXPECT_EQ(lines.strike_out, 1);
    EXPECT_EQ(lines.weight, 400);

    const FontRequest quality = font_request(10, 96, PB_Font_HighQuality);
    EXPECT_EQ(quality.quality, 2);
    EXPECT_EQ(quality.weight, 400);
    EXPECT_EQ(quality.italic + quality.underline + quality.strike_out, 0);

    // Bits outside the five flags change nothing.
    const FontRequest other = font_request(
        10, 96, ~(PB_Font_Bold | PB_Font_Italic | PB_Font_Underline | PB_Font_StrikeOut | PB_Font_HighQuality));
    EXPECT_EQ(other.weight, 400);
    EXPECT_EQ(other.italic + other.underline + other.strike_out + other.quality, 0);
}

}  // namespace
