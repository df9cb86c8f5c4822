// Date, calendar, IP address and shortcut gadgets on real controls.
#include "gadget/date_format.h"
#include "gadget/picker_kinds.h"
#include "gadget_test_support_win32.h"

namespace {

std::int32_t date_of(std::int32_t year, std::int32_t month, std::int32_t day) {
    return static_cast<std::int32_t>(date_value({year, month, day, 0, 0, 0}));
}

TEST_F(GadgetTest, ADateFieldShowsItsMaskAndReportsRealChanges) {
    const std::int32_t start = date_of(2024, 2, 28);
    ASSERT_NE(date_gadget(1, 0, 0, 150, 22, u"%dd/%mm/%yyyy", start, PB_Date_UpDown), 0);
    const HWND field = hwnd(1);
    EXPECT_EQ(class_of(field), L"SysDateTimePick32");
    EXPECT_EQ(style_of(field) & 0xFFFF000Fu, 0x50010000u | DTS_UPDOWN);
    EXPECT_TRUE(ex_style_of(field) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(gadget_get_state(1), start);
    EXPECT_EQ(gadget_get_text(1), u"28/02/2024");
    gadget_set_text(1, u"%yyyy-%mm-%dd");
    EXPECT_EQ(gadget_get_text(1), u"2024-02-28");
    EXPECT_EQ(pump(), GadgetEvents{});
    gadget_set_attribute(1, PB_Date_Minimum, date_of(2020, 1, 1));
    EXPECT_EQ(gadget_get_attribute(1, PB_Date_Minimum), date_of(2020, 1, 1));
    EXPECT_EQ(gadget_get_attribute(1, PB_Date_Maximum), 0);

    // The arrow steps the selected field (the day, first in the mask after a click on it).
    post_mouse(field, WM_LBUTTONDOWN, 60, 10, MK_LBUTTON);
    post_mouse(field, WM_LBUTTONUP, 60, 10);
    pump();
    post_key(field, VK_UP);
    const GadgetEvents events = pump();
    if (gadget_get_state(1) == start)
        GTEST_SKIP() << "this date control does not take keys without the focus";
    EXPECT_EQ(events, (GadgetEvents{{1, ET_CHANGE}}));
    EXPECT_NE(gadget_get_state(1), start);
}

TEST_F(GadgetTest, AnUncheckedDateFieldHasNoDate) {
    ASSERT_NE(date_gadget(1, 0, 0, 150, 22, nullptr, date_of(2001, 5, 6), PB_Date_CheckBox), 0);
    EXPECT_TRUE(style_of(hwnd(1)) & DTS_SHOWNONE);
    EXPECT_EQ(gadget_get_state(1), date_of(2001, 5, 6));
    SendMessageW(hwnd(1), DTM_SETSYSTEMTIME, GDT_NONE, 0);
    SYSTEMTIME t{};
    if (SendMessageW(hwnd(1), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) == GDT_VALID)
        GTEST_SKIP() << "this date control keeps its date while unchecked";
    EXPECT_EQ(gadget_get_state(1), 0);
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_GT(w, 40);
    EXPECT_GE(h, 20);
}

TEST_F(GadgetTest, ACalendarReportsAClickOnAnotherDay) {
    ASSERT_NE(calendar_gadget(1, 0, 0, 250, 200, date_of(2024, 3, 15)), 0);
    const HWND calendar = hwnd(1);
    EXPECT_EQ(class_of(calendar), L"SysMonthCal32");
    EXPECT_EQ(style_of(calendar) & 0xFFFF000Fu, 0x50010001u);
    EXPECT_TRUE(ex_style_of(calendar) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(gadget_get_state(1), date_of(2024, 3, 15));
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_GT(w, 100);
    gadget_resize(1, 0, 0, w, h);
    pump();
    // Find the 20th on screen and click it.
    POINT day{-1, -1};
    RECT client{};
    GetClientRect(calendar, &client);
    for (int y = 0; y < client.bottom && day.x < 0; y += 3)
        for (int x = 0; x < client.right && day.x < 0; x += 3) {
            MCHITTESTINFO hit{};
            hit.cbSize = sizeof hit;
            hit.pt = {x, y};
            if (SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == MCHT_CALENDARDATE &&
                hit.st.wMonth == 3 && hit.st.wDay == 20)
                day = {x, y};
        }
    ASSERT_GE(day.x, 0);
    post_mouse(calendar, WM_LBUTTONDOWN, day.x, day.y, MK_LBUTTON);
    post_mouse(calendar, WM_LBUTTONUP, day.x, day.y);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    EXPECT_EQ(gadget_get_state(1), date_of(2024, 3, 20));
    // The same day again is no news.
    post_mouse(calendar, WM_LBUTTONDOWN, day.x, day.y, MK_LBUTTON);
    post_mouse(calendar, WM_LBUTTONUP, day.x, day.y);
    EXPECT_EQ(pump(), GadgetEvents{});

    gadget_set_item_state(1, date_of(2024, 3, 1) + 3600, PB_Calendar_Bold);
    EXPECT_EQ(gadget_get_item_state(1, date_of(2024, 3, 1)), PB_Calendar_Bold);
    EXPECT_EQ(gadget_get_item_state(1, date_of(2024, 3, 2)), PB_Calendar_Normal);
    ASSERT_NE(calendar_gadget(2, 0, 0, 250, 200, 0, PB_Calendar_Borderless), 0);
    EXPECT_FALSE(ex_style_of(hwnd(2)) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(style_of(hwnd(2)) & PB_Calendar_Borderless);
}

TEST_F(GadgetTest, AnIpAddressKeepsItsNumberAndDottedText) {
    ASSERT_NE(ipaddress_gadget(1, 0, 0, 150, 22), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"SysIPAddress32");
    EXPECT_EQ(style_of(hwnd(1)) & 0xFFFF0000u, 0x50010000u);
    gadget_set_state(1, static_cast<std::int32_t>(MAKEIPADDRESS(192, 168, 1, 20)));
    EXPECT_EQ(gadget_get_text(1), u"192.168.1.20");
    gadget_set_text(1, u"10.0.0.255");
    EXPECT_EQ(gadget_get_state(1), static_cast<std::int32_t>(MAKEIPADDRESS(10, 0, 0, 255)));
    gadget_set_text(1, u"10.0.0.256");
    EXPECT_EQ(gadget_get_state(1), 0);
    gadget_set_text(1, u"1.2.3");
    EXPECT_EQ(gadget_get_text(1), u"0.0.0.0");
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_GT(w, 60);
}

TEST_F(GadgetTest, AShortcutReportsAKeyButNotAModifierAlone) {
    ASSERT_NE(shortcut_gadget(1, 0, 0, 150, 22, 'A' | (HOTKEYF_CONTROL << 8)), 0);
    const HWND field = hwnd(1);
    EXPECT_EQ(class_of(field), L"msctls_hotkey32");
    EXPECT_EQ(style_of(field) & 0xFFFF0000u, 0x50030000u);
    EXPECT_TRUE(ex_style_of(field) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(gadget_get_state(1), 'A' | (HOTKEYF_CONTROL << 8));
    // The window leaves its keys to the field, even while it holds no shortcut.
    EXPECT_NE(GetPropW(field, L"PB_Hotkey"), nullptr);
    pump();
    PostMessageW(field, WM_KEYDOWN, 'K', MAKELPARAM(1, MapVirtualKeyW('K', MAPVK_VK_TO_VSC)));
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    EXPECT_EQ(gadget_get_state(1) & 0xFF, 'K');
    gadget_set_state(1, 0);
    EXPECT_EQ(gadget_get_state(1), 0);
    EXPECT_NE(GetPropW(field, L"PB_Hotkey"), nullptr);
    EXPECT_EQ(pump(), GadgetEvents{});
}

}  // namespace
