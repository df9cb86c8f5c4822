// String, checkbox, option, combo box, scroll bar, track bar and spin gadgets
// on real controls, driven by posted mouse and key messages.
#include "gadget/input_kinds.h"
#include "gadget_test_support_win32.h"
#include "system/wide.h"

#include <commctrl.h>

namespace {

TEST_F(GadgetTest, StringStylesFollowItsFlags) {
    ASSERT_NE(string_gadget(1, 0, 0, 100, 20, u"abc", PB_String_Password | PB_String_Numeric), 0);
    ASSERT_NE(string_gadget(2, 0, 0, 100, 20, u"", PB_String_BorderLess | PB_String_ReadOnly | PB_String_UpperCase), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"Edit");
    EXPECT_EQ(style_of(hwnd(1)) & 0xFFFF1FFFu, 0x50030080u | ES_PASSWORD);
    EXPECT_TRUE(style_of(hwnd(1)) & ES_NUMBER);
    EXPECT_TRUE(ex_style_of(hwnd(1)) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(ex_style_of(hwnd(2)) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(style_of(hwnd(2)) & ES_READONLY);
    EXPECT_TRUE(style_of(hwnd(2)) & ES_UPPERCASE);
    EXPECT_EQ(gadget_get_text(1), u"abc");
    gadget_set_text(1, u"123");
    EXPECT_EQ(gadget_get_text(1), u"123");
    EXPECT_EQ(pump(), GadgetEvents{});  // the program's own change raises nothing
    gadget_set_attribute(1, PB_String_MaximumLength, 5);
    EXPECT_EQ(gadget_get_attribute(1, PB_String_MaximumLength), 5);
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_EQ(w, 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_GE(h, 20);
    expect_all_freed({hwnd(1), hwnd(2)});
}

TEST_F(GadgetTest, TypingIntoAStringReportsChangeAndFocus) {
    ASSERT_NE(string_gadget(1, 0, 0, 100, 20, u""), 0);
    pump();
    post_char(hwnd(1), L'a');
    post_char(hwnd(1), L'b');
    const GadgetEvents events = pump();
    EXPECT_TRUE(has_event(events, {1, ET_CHANGE}));
    EXPECT_EQ(gadget_get_text(1), u"ab");
    ASSERT_NE(button_gadget(2, 0, 30, 80, 24, u"b"), 0);
    SetFocus(hwnd(1));
    SetFocus(hwnd(2));
    const GadgetEvents focus = pump();
    if (GetFocus() != hwnd(2))
        GTEST_SKIP() << "the hidden test window cannot take the focus here";
    EXPECT_TRUE(has_event(focus, {1, ET_FOCUS}));
    EXPECT_TRUE(has_event(focus, {1, ET_LOST_FOCUS}));
}

TEST_F(GadgetTest, AStringAnswersColoursOnlyWhenSet) {
    ASSERT_NE(string_gadget(1, 0, 0, 100, 20, u"x"), 0);
    HDC dc = GetDC(hwnd(1));
    const auto ask = [&](UINT message) {
        return SendMessageW(window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd(1)));
    };
    EXPECT_EQ(gadget_get_colour(1, BACK_COLOR), -1);
    EXPECT_EQ(ask(WM_CTLCOLOREDIT), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));  // the default
    gadget_set_colour(1, BACK_COLOR, 0x123456);
    EXPECT_EQ(gadget_get_colour(1, BACK_COLOR), 0x123456);
    const LRESULT brush = ask(WM_CTLCOLOREDIT);
    EXPECT_NE(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(GetBkColor(dc), 0x123456u);
    EXPECT_EQ(ask(WM_CTLCOLORSTATIC), brush);  // read-only fields ask this way
    ReleaseDC(hwnd(1), dc);
    const std::size_t brushes = cached_brush_count();
    gadget_free(1);
    EXPECT_EQ(cached_brush_count(), brushes - 1);
}

TEST_F(GadgetTest, ACheckboxTogglesOnClicksAndReportsThem) {
    ASSERT_NE(checkbox_gadget(1, 0, 0, 100, 20, u"Check", PB_CheckBox_Right), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"Button");
    EXPECT_EQ(style_of(hwnd(1)) & 0xFFFF0FFFu, 0x50030000u | BS_AUTOCHECKBOX | BS_RIGHT);
    click(hwnd(1));
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    EXPECT_EQ(gadget_get_state(1), PB_Checkbox_Checked);
    click(hwnd(1));
    pump();
    EXPECT_EQ(gadget_get_state(1), PB_Checkbox_Unchecked);
    // The in-between state needs a three-state box.
    gadget_set_state(1, PB_Checkbox_Inbetween);
    EXPECT_EQ(gadget_get_state(1), PB_Checkbox_Checked);
}

TEST_F(GadgetTest, AThreeStateCheckboxClicksBetweenCheckedAndUnchecked) {
    ASSERT_NE(checkbox_gadget(1, 0, 0, 100, 20, u"Three", PB_CheckBox_ThreeState), 0);
    EXPECT_EQ(style_of(hwnd(1)) & 0xF, static_cast<DWORD>(BS_3STATE));
    const std::int32_t expected[] = {1, 0, 1};
    for (std::int32_t state : expected) {
        click(hwnd(1));
        EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
        EXPECT_EQ(gadget_get_state(1), state);
    }
    gadget_set_state(1, PB_Checkbox_Inbetween);
    EXPECT_EQ(gadget_get_state(1), PB_Checkbox_Inbetween);
    EXPECT_EQ(pump(), GadgetEvents{});
    click(hwnd(1));  // from in-between a click checks
    pump();
    EXPECT_EQ(gadget_get_state(1), PB_Checkbox_Checked);
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_GT(w, GetSystemMetrics(SM_CXMENUCHECK));
    EXPECT_GE(h, GetSystemMetrics(SM_CYMENUCHECK));
}

TEST_F(GadgetTest, OptionsCreatedInARunFormOneGroupAndAClickStaysInIt) {
    for (int i = 1; i <= 3; ++i)
        ASSERT_NE(option_gadget(i, 0, 20 * i, 100, 20, u"first group"), 0);
    ASSERT_NE(text_gadget(10, 0, 80, 100, 20, u"between"), 0);
    for (int i = 4; i <= 5; ++i)
        ASSERT_NE(option_gadget(i, 0, 20 * i + 20, 100, 20, u"second group"), 0);
    EXPECT_EQ(style_of(hwnd(1)) & (WS_GROUP | 0xF), static_cast<DWORD>(WS_GROUP | BS_AUTORADIOBUTTON));
    EXPECT_FALSE(style_of(hwnd(2)) & WS_GROUP);
    EXPECT_FALSE(style_of(hwnd(3)) & WS_GROUP);
    EXPECT_TRUE(style_of(hwnd(4)) & WS_GROUP);
    EXPECT_FALSE(style_of(hwnd(5)) & WS_GROUP);

    click(hwnd(2));
    EXPECT_EQ(pump(), (GadgetEvents{{2, ET_LEFT_CLICK}}));
    click(hwnd(4));
    pump();
    click(hwnd(5));
    pump();
    click(hwnd(3));
    pump();
    const std::int32_t expected[] = {0, 0, 1, 0, 1};
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(gadget_get_state(i), expected[i - 1]) << "option " << i;
    gadget_set_state(1, 1);
    EXPECT_EQ(gadget_get_state(1), 1);
}

HWND combo_edit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info.hwndItem;
}

TEST_F(GadgetTest, AComboBoxListSelectsByKeysAndRefusesTyping) {
    ASSERT_NE(combobox_gadget(1, 0, 0, 120, 20), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"ComboBox");
    // The control drops the border and scroll-bar bits it draws itself.
    EXPECT_EQ(style_of(hwnd(1)) & 0xFF7F0003u, 0x50030003u);
    for (const char16_t* item : {u"alpha", u"beta", u"gamma"})
        gadget_add_item(1, -1, item);
    EXPECT_EQ(gadget_count_items(1), 3);
    EXPECT_EQ(gadget_get_state(1), -1);
    EXPECT_EQ(pump(), GadgetEvents{});

    post_key(hwnd(1), VK_DOWN);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_CHANGE}}));
    EXPECT_EQ(gadget_get_state(1), 0);
    post_char(hwnd(1), L'z');  // no item starts so: nothing can be typed
    pump();
    EXPECT_EQ(gadget_get_text(1), u"alpha");
    post_char(hwnd(1), L'g');
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_CHANGE}}));
    EXPECT_EQ(gadget_get_text(1), u"gamma");

    gadget_set_text(1, u"beta");  // a list selects the item with that text
    EXPECT_EQ(gadget_get_state(1), 1);
    gadget_set_text(1, u"nothing");
    EXPECT_EQ(gadget_get_state(1), -1);
    gadget_set_state(1, 2);
    gadget_set_item_text(1, 2, u"delta");
    EXPECT_EQ(gadget_get_state(1), 2);
    EXPECT_EQ(gadget_get_item_text(1, 2), u"delta");
    gadget_set_item_data(1, 1, 77);
    EXPECT_EQ(gadget_get_item_data(1, 1), 77);
    gadget_remove_item(1, 0);
    EXPECT_EQ(gadget_get_item_text(1, 0), u"beta");
    EXPECT_EQ(gadget_get_item_data(1, 0), 77);
    EXPECT_EQ(pump(), GadgetEvents{});
    gadget_clear_items(1);
    EXPECT_EQ(gadget_count_items(1), 0);
}

TEST_F(GadgetTest, AnEditableComboBoxTakesTypedText) {
    ASSERT_NE(combobox_gadget(1, 0, 0, 120, 20, PB_ComboBox_Editable), 0);
    EXPECT_EQ(style_of(hwnd(1)) & 0x3, static_cast<DWORD>(CBS_DROPDOWN));
    gadget_add_item(1, -1, u"alpha");
    const HWND edit = combo_edit(hwnd(1));
    ASSERT_NE(edit, nullptr);
    post_char(edit, L'z');
    EXPECT_TRUE(has_event(pump(), {1, ET_CHANGE}));
    EXPECT_EQ(gadget_get_text(1), u"z");
    EXPECT_EQ(gadget_get_state(1), -1);
    gadget_set_text(1, u"free text");
    EXPECT_EQ(gadget_get_text(1), u"free text");
}

TEST_F(GadgetTest, AComboBoxHeightIsItsFieldAndTheListHasRoom) {
    ASSERT_NE(combobox_gadget(1, 0, 0, 120, 0), 0);
    gadget_add_item(1, -1, u"a rather long item");
    for (int i = 0; i < 15; ++i)
        gadget_add_item(1, -1, u"more");
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_GT(h, 10);
    EXPECT_GT(w, GetSystemMetrics(SM_CXVSCROLL));
    gadget_resize(1, 5, 6, 150, h);
    EXPECT_EQ(gadget_height(1), h);
    EXPECT_EQ(gadget_width(1), 150);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    SendMessageW(hwnd(1), CB_SHOWDROPDOWN, TRUE, 0);
    GetComboBoxInfo(hwnd(1), &info);
    RECT list{};
    GetWindowRect(info.hwndList, &list);
    SendMessageW(hwnd(1), CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_GT(list.bottom - list.top, 5 * SendMessageW(hwnd(1), CB_GETITEMHEIGHT, 0, 0));
}

TEST_F(GadgetTest, AnImageComboBoxKeepsItemsAndTheirImages) {
    ASSERT_NE(combobox_gadget(1, 0, 0, 120, 20, PB_ComboBox_Image), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"ComboBoxEx32");
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    gadget_add_item_ex(1, -1, u"one", reinterpret_cast<std::uintptr_t>(bitmap), 0);
    gadget_add_item(1, -1, u"two");
    DeleteObject(bitmap);  // the box keeps its own copy
    EXPECT_EQ(gadget_count_items(1), 2);
    EXPECT_EQ(gadget_get_item_text(1, 1), u"two");
    COMBOBOXEXITEMW entry{};
    entry.mask = CBEIF_IMAGE;
    entry.iItem = 0;
    SendMessageW(hwnd(1), CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    EXPECT_EQ(entry.iImage, 0);
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd(1), CBEM_GETIMAGELIST, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
    gadget_set_state(1, 1);
    EXPECT_EQ(gadget_get_text(1), u"two");
    gadget_set_text(1, u"one");
    EXPECT_EQ(gadget_get_state(1), 0);
    expect_all_freed({hwnd(1)});
}

TEST_F(GadgetTest, AScrollBarMovesItselfOnClicksWithinItsRange) {
    ASSERT_NE(scrollbar_gadget(1, 0, 0, 200, 17, 10, 60, 10), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"ScrollBar");
    EXPECT_EQ(gadget_get_state(1), 10);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollBar_Minimum), 10);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollBar_Maximum), 60);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollBar_PageLength), 10);
    post_mouse(hwnd(1), WM_LBUTTONDOWN, 195, 8, MK_LBUTTON);  // the right arrow
    post_mouse(hwnd(1), WM_LBUTTONUP, 195, 8);
    EXPECT_TRUE(has_event(pump(), {1, ET_LEFT_CLICK}));
    EXPECT_EQ(gadget_get_state(1), 11);
    post_mouse(hwnd(1), WM_LBUTTONDOWN, 150, 8, MK_LBUTTON);  // the track right of the thumb: a page
    post_mouse(hwnd(1), WM_LBUTTONUP, 150, 8);
    pump();
    EXPECT_EQ(gadget_get_state(1), 21);
    gadget_set_state(1, 1000);  // kept within the range the page leaves
    EXPECT_EQ(gadget_get_state(1), 51);
    gadget_set_attribute(1, PB_ScrollBar_PageLength, 1);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollBar_PageLength), 1);

    ASSERT_NE(scrollbar_gadget(2, 0, 0, 17, 200, 0, 100, 10, PB_ScrollBar_Vertical), 0);
    EXPECT_TRUE(style_of(hwnd(2)) & SBS_VERT);
    std::int32_t w, h;
    gadget_required_size(2, w, h);
    EXPECT_EQ(w, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(h, 0);
}

TEST_F(GadgetTest, ATrackBarReportsMovesAndKeepsItsRangeAtZeroOrMore) {
    ASSERT_NE(trackbar_gadget(1, 0, 0, 200, 30, -5, 20, PB_TrackBar_Ticks), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"msctls_trackbar32");
    EXPECT_EQ(style_of(hwnd(1)) & 0xFFFF000Fu, 0x50010000u | TBS_AUTOTICKS);
    EXPECT_EQ(gadget_get_attribute(1, PB_TrackBar_Minimum), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_TrackBar_Maximum), 20);
    gadget_set_state(1, 5);
    EXPECT_EQ(pump(), GadgetEvents{});
    post_key(hwnd(1), VK_RIGHT);
    EXPECT_TRUE(has_event(pump(), {1, ET_LEFT_CLICK}));
    EXPECT_EQ(gadget_get_state(1), 6);
    post_key(hwnd(1), VK_END);
    pump();
    EXPECT_EQ(gadget_get_state(1), 20);
    gadget_set_attribute(1, PB_TrackBar_Maximum, 8);
    EXPECT_EQ(gadget_get_state(1), 8);
    gadget_set_attribute(1, PB_TrackBar_Minimum, -3);
    EXPECT_EQ(gadget_get_attribute(1, PB_TrackBar_Minimum), 0);
    ASSERT_NE(trackbar_gadget(2, 0, 0, 30, 200, 0, 10, PB_TrackBar_Vertical), 0);
    EXPECT_TRUE(style_of(hwnd(2)) & TBS_VERT);
}

HWND arrows_beside(HWND edit) {
    return GetWindow(edit, GW_HWNDNEXT);
}

TEST_F(GadgetTest, ASpinsArrowsStepItsValueAndReportTheirDirection) {
    ASSERT_NE(spin_gadget(1, 10, 10, 80, 22, 0, 5, PB_Spin_Numeric), 0);
    const HWND edit = hwnd(1);
    const HWND arrows = arrows_beside(edit);
    EXPECT_EQ(class_of(edit), L"Edit");
    EXPECT_EQ(class_of(arrows), L"msctls_updown32");
    EXPECT_TRUE(style_of(edit) & ES_NUMBER);
    EXPECT_TRUE(ex_style_of(edit) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(gadget_width(1), 80);
    EXPECT_EQ(gadget_get_text(1), u"0");
    EXPECT_EQ(pump(), GadgetEvents{});

    RECT r;
    GetClientRect(arrows, &r);
    post_mouse(arrows, WM_LBUTTONDOWN, r.right / 2, 2, MK_LBUTTON);  // the up arrow
    post_mouse(arrows, WM_LBUTTONUP, r.right / 2, 2);
    GadgetEvents events = pump();
    EXPECT_TRUE(has_event(events, {1, ET_SPIN_UP}));
    EXPECT_TRUE(has_event(events, {1, ET_CHANGE}));
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_EQ(gadget_get_text(1), u"1");
    post_mouse(arrows, WM_LBUTTONDOWN, r.right / 2, r.bottom - 2, MK_LBUTTON);
    post_mouse(arrows, WM_LBUTTONUP, r.right / 2, r.bottom - 2);
    EXPECT_TRUE(has_event(pump(), {1, ET_SPIN_DOWN}));
    EXPECT_EQ(gadget_get_state(1), 0);

    gadget_set_state(1, 4);
    EXPECT_EQ(gadget_get_text(1), u"4");
    EXPECT_EQ(pump(), GadgetEvents{});
    gadget_set_attribute(1, PB_Spin_Maximum, 9);
    EXPECT_EQ(gadget_get_attribute(1, PB_Spin_Maximum), 9);
    EXPECT_EQ(gadget_get_attribute(1, PB_Spin_Minimum), 0);

    gadget_resize(1, 20, 30, 100, 24);
    const RECT e = control_rect(edit), a = control_rect(arrows);
    EXPECT_EQ(e.left, 20);
    EXPECT_EQ(a.right, 120);
    EXPECT_EQ(e.right, a.left);
    EXPECT_EQ(gadget_width(1), 100);
    gadget_hide(1, 1);
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_FALSE(IsWindowVisible(arrows));
    expect_all_freed({edit, arrows});
}

TEST_F(GadgetTest, ATextSpinKeepsTheProgramsText) {
    ASSERT_NE(spin_gadget(1, 10, 10, 80, 22, 0, 5, PB_Spin_ReadOnly), 0);
    EXPECT_TRUE(style_of(hwnd(1)) & ES_READONLY);
    gadget_set_text(1, u"Monday");
    post_key(hwnd(1), VK_UP);  // the arrow keys step the value, not the text
    EXPECT_TRUE(has_event(pump(), {1, ET_SPIN_UP}));
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_EQ(gadget_get_text(1), u"Monday");
}

}  // namespace
