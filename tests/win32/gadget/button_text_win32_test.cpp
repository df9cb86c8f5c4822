// Buttons and labels with real controls: clicks, toggles, required sizes.
#include "gadget_test_support_win32.h"
#include "system/wide.h"

namespace {

SIZE text_extent(HWND control, const wchar_t* text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE s{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &s);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return s;
}

TEST_F(GadgetTest, AClickOnAButtonQueuesExactlyOneLeftClick) {
    ASSERT_NE(button_gadget(1, 10, 10, 80, 24, u"Copy", PB_Button_Default), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd(1), GWL_STYLE)) & 0xFFFF000Fu, 0x50030000u | BS_DEFPUSHBUTTON);
    click(hwnd(1));
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    // A push button has no pressed state, even right after a click.
    EXPECT_EQ(gadget_get_state(1), 0);
}

TEST_F(GadgetTest, AToggleButtonAlternatesAndFollowsItsState) {
    ASSERT_NE(button_gadget(2, 10, 10, 80, 24, u"Toggle", PB_Button_Toggle), 0);
    EXPECT_EQ(gadget_get_state(2), 0);
    click(hwnd(2));
    EXPECT_EQ(pump(), (GadgetEvents{{2, ET_LEFT_CLICK}}));
    EXPECT_EQ(gadget_get_state(2), 1);
    click(hwnd(2));
    pump();
    EXPECT_EQ(gadget_get_state(2), 0);
    gadget_set_state(2, 5);
    EXPECT_EQ(gadget_get_state(2), 1);
    gadget_set_state(2, 0);
    EXPECT_EQ(gadget_get_state(2), 0);
    EXPECT_EQ(pump(), GadgetEvents{});
}

TEST_F(GadgetTest, ButtonRequiredSizeIsTheTextWithEdgesPaddingAndAFloor) {
    ASSERT_NE(button_gadget(1, 0, 0, 10, 10, u"Copy"), 0);
    const SIZE text = text_extent(hwnd(1), L"Copy");
    const int cx = GetSystemMetrics(SM_CXEDGE), cy = GetSystemMetrics(SM_CYEDGE);
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_EQ(w, text.cx + 2 * cx + 10);
    EXPECT_EQ(h, std::max<std::int32_t>(24, text.cy + 2 * cy));
    EXPECT_EQ(gadget_width(1, 1), w);
    EXPECT_EQ(gadget_height(1, 1), h);
    EXPECT_EQ(gadget_width(1), 10);  // mode 0: the control as it is
}

TEST_F(GadgetTest, TextRequiredSizeAddsItsBorder) {
    ASSERT_NE(text_gadget(1, 0, 0, 10, 10, u"Line one\nand two & more", PB_Text_Border), 0);
    ASSERT_NE(text_gadget(2, 0, 0, 10, 10, u"Line one\nand two & more"), 0);
    EXPECT_TRUE(GetWindowLongW(hwnd(1), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(GetWindowLongW(hwnd(2), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd(2), GWL_STYLE)) & 0xFFFF00FFu, 0x50020080u);
    const RECT r = drawn_extent(hwnd(1), L"Line one\nand two & more");
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_EQ(w, r.right + 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(h, r.bottom + 2 * GetSystemMetrics(SM_CYEDGE));
    gadget_required_size(2, w, h);
    EXPECT_EQ(w, r.right + 2);
    EXPECT_EQ(h, r.bottom + 2);
    // Two lines are taller than one.
    gadget_set_text(2, u"Line one");
    EXPECT_LT(gadget_height(2, 1), h);
    wchar_t text[32];
    GetWindowTextW(hwnd(2), text, 32);
    EXPECT_EQ(from_wide(text), u"Line one");
}

TEST_F(GadgetTest, TextColoursAnswerTheControlColourMessage) {
    ASSERT_NE(text_gadget(1, 0, 0, 10, 10, u"t"), 0);
    HDC dc = GetDC(hwnd(1));
    const auto ask = [&] {
        return SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd(1)));
    };
    // Default colours: the window's default answer, not ours.
    EXPECT_NE(ask(), 0);
    gadget_set_colour(1, FRONT_COLOR, 0x0000FF);
    EXPECT_EQ(ask(), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    EXPECT_EQ(GetTextColor(dc), 0x0000FFu);
    gadget_set_colour(1, BACK_COLOR, 0x00FFFF);
    EXPECT_EQ(static_cast<std::uintptr_t>(ask()), gadget_object(1)->word7);
    EXPECT_EQ(GetBkColor(dc), 0x00FFFFu);
    ReleaseDC(hwnd(1), dc);
}

}  // namespace
