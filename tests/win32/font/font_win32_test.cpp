// Font objects as real GDI fonts, read back with GetObjectW.
#include "font/font.h"

#include "system/win32.h"

#include <gtest/gtest.h>

namespace {

LOGFONTW logfont_of(std::uintptr_t handle) {
    LOGFONTW font{};
    EXPECT_EQ(GetObjectW(reinterpret_cast<HFONT>(handle), sizeof font, &font), static_cast<int>(sizeof font));
    return font;
}

bool is_gdi_font(std::uintptr_t handle) {
    return GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) == OBJ_FONT;
}

class Fonts : public ::testing::Test {
protected:
    void SetUp() override { init_fonts(); }
    void TearDown() override { end_fonts(); }
};

TEST_F(Fonts, ScreenDpiIsTheDisplaysAndHeightsFollowIt) {
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    DeleteDC(dc);
    EXPECT_EQ(font_screen_dpi(), dpi);

    const std::intptr_t id = load_font(PB_Any, u"Consolas", 10, 0);
    ASSERT_NE(id, 0);
    const LOGFONTW font = logfont_of(font_handle(id));
    EXPECT_EQ(font.lfHeight, -MulDiv(10, dpi, 72));
    if (dpi == 96) {
        EXPECT_EQ(font.lfHeight, -13);
    }
    EXPECT_STREQ(font.lfFaceName, L"Consolas");
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(font.lfQuality, DEFAULT_QUALITY);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfEscapement, 0);
}

TEST_F(Fonts, MulDivMatchesThePlatform) {
    const int values[] = {-2147483647, -65536, -73, -10, -3, -1, 0, 1, 2, 3, 7, 10, 72, 96, 120, 65536, 2147483647};
    for (int a : values)
        for (int b : values)
            for (int c : {-72, -2, -1, 1, 2, 3, 4, 72, 96, 2147483647}) {
                ASSERT_EQ(mul_div(a, b, c), MulDiv(a, b, c)) << a << " " << b << " " << c;
            }
}

TEST_F(Fonts, StyleFlagsReachThePlatformFont) {
    const LOGFONTW bold_italic = logfont_of(load_font(1, u"Tahoma", 12, PB_Font_Bold | PB_Font_Italic));
    EXPECT_EQ(bold_italic.lfWeight, 700);
    EXPECT_EQ(bold_italic.lfItalic, 1);
    EXPECT_EQ(bold_italic.lfUnderline, 0);
    EXPECT_EQ(bold_italic.lfStrikeOut, 0);

    const LOGFONTW lines = logfont_of(load_font(2, u"Tahoma", 12, PB_Font_Underline | PB_Font_StrikeOut));
    EXPECT_EQ(lines.lfWeight, 400);
    EXPECT_EQ(lines.lfUnderline, 1);
    EXPECT_EQ(lines.lfStrikeOut, 1);
    EXPECT_EQ(lines.lfItalic, 0);

    const LOGFONTW quality = logfont_of(load_font(3, u"Tahoma", 12, PB_Font_HighQuality));
    EXPECT_EQ(quality.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(quality.lfWeight, 400);
    EXPECT_EQ(quality.lfItalic + quality.lfUnderline + quality.lfStrikeOut, 0);
}

TEST_F(Fonts, ANumberInUseDeletesItsOldFont) {
    const std::uintptr_t first = static_cast<std::uintptr_t>(load_font(7, u"Tahoma", 10));
    ASSERT_TRUE(is_gdi_font(first));
    EXPECT_EQ(font_handle(7), first);
    const std::uintptr_t second = static_cast<std::uintptr_t>(load_font(7, u"Tahoma", 20, PB_Font_Bold));
    ASSERT_NE(second, 0u);
    EXPECT_FALSE(is_gdi_font(first));
    EXPECT_EQ(font_handle(7), second);
    EXPECT_EQ(logfont_of(second).lfWeight, 700);

    free_font(7);
    EXPECT_FALSE(is_gdi_font(second));
    EXPECT_EQ(font_handle(7), 0u);
    EXPECT_EQ(is_font(7), nullptr);
}

TEST_F(Fonts, FreeingAllAndUnknownIds) {
    const std::intptr_t any = load_font(PB_Any, u"Tahoma", 9);
    ASSERT_NE(any, 0);
    ASSERT_NE(load_font(40, u"Tahoma", 9), 0);  // beyond the first 16 slots
    const std::uintptr_t any_handle = font_handle(any);
    const std::uintptr_t numbered_handle = font_handle(40);
    EXPECT_NE(is_font(any), nullptr);
    EXPECT_NE(is_font(40), nullptr);

    EXPECT_EQ(font_handle(41), 0u);
    EXPECT_EQ(is_font(41), nullptr);
    EXPECT_EQ(is_font(any + 4096), nullptr);  // never handed out
    free_font(41);                            // names nothing: no effect

    free_font(PB_Any);
    EXPECT_EQ(is_font(40), nullptr);
    EXPECT_EQ(is_font(any), nullptr);
    EXPECT_FALSE(is_gdi_font(any_handle));
    EXPECT_FALSE(is_gdi_font(numbered_handle));
}

TEST_F(Fonts, AFreedHandleNamesNoFontAndFreesNothing) {
    const std::intptr_t gone = load_font(PB_Any, u"Tahoma", 11);
    ASSERT_NE(gone, 0);
    free_font(gone);
    // A font made since keeps its platform font whatever the stale id's
    // memory now holds.
    const std::uintptr_t kept = static_cast<std::uintptr_t>(load_font(3, u"Tahoma", 11));
    ASSERT_TRUE(is_gdi_font(kept));

    EXPECT_EQ(is_font(gone), nullptr);
    EXPECT_EQ(font_handle(gone), 0u);
    free_font(gone);
    EXPECT_TRUE(is_gdi_font(kept));
    EXPECT_EQ(font_handle(3), kept);
}

}  // namespace
