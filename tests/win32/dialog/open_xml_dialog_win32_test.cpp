// Opening definitions with real windows and controls: finding the window,
// skipping unknown elements, IDs, event attributes and their errors, what a
// failed opening leaves behind, name lookups, and the layout runs after
// opening, on refresh and on a user's resize.
#include "dialog_test_support_win32.h"
#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"

namespace {

int g_calls = 0, g_gadget_calls = 0;
void count_call() {
    ++g_calls;
}
void count_gadget_call() {
    ++g_gadget_calls;
}

TEST_F(DialogTest, AWindowWithoutNameOpensOnlyForAnEmptyName) {
    constexpr char16_t xml[] = u"<window text='plain'><button name='b' text='B'/></window>";
    EXPECT_EQ(open(xml, u"wndMain"), 0);
    EXPECT_EQ(dialog_error(dialog), "Dialog window not found");
    EXPECT_EQ(dialog_window(dialog), -1);
    ASSERT_EQ(open(xml, u""), 1);
    EXPECT_EQ(dialog_error(dialog), "");
    EXPECT_NE(dialog_window(dialog), -1);
    EXPECT_NE(dialog_gadget(dialog, u"b"), -1);
}

TEST_F(DialogTest, DialogsOpensTheWindowWhoseNameMatchesIgnoringCase) {
    constexpr char16_t xml[] =
        u"<dialogs><window name='first' id='3' text='one'/>"
        u"<!-- between --><window name='Second' id='4' text='two'><text name='t' text='x'/></window></dialogs>";
    ASSERT_EQ(open(xml, u"SECOND"), 1);
    EXPECT_EQ(dialog_window(dialog), 4);
    EXPECT_EQ(is_window(3), nullptr);
    wchar_t title[8];
    GetWindowTextW(window_hwnd(), title, 8);
    EXPECT_STREQ(title, L"two");
    // Other roots than window and dialogs hold no window.
    EXPECT_EQ(open(u"<windows><window name='x'/></windows>", u"x"), 0);
    EXPECT_EQ(dialog_error(dialog), "Dialog window not found");
}

TEST_F(DialogTest, UnknownElementsAreSkippedWithTheirChildren) {
    constexpr char16_t xml[] =
        u"<window name='w'><vbox><item><button name='inner' text='no'/></item>"
        u"<button name='outer' text='yes'/></vbox></window>";
    ASSERT_EQ(open(xml, u"w"), 1) << dialog_error(dialog);
    EXPECT_EQ(dialog_gadget(dialog, u"inner"), -1);
    EXPECT_NE(dialog_gadget(dialog, u"outer"), -1);
}

TEST_F(DialogTest, EventAttributesBindOrFailWithTheirMessages) {
    register_runtime_integer(u"count_call", reinterpret_cast<std::intptr_t>(&count_call));
    // A text has no click events: the attribute and the element as written.
    EXPECT_EQ(open(u"<window name='w' id='7'><text name='t' onleftclick='count_call'/></window>", u"w"), 0);
    EXPECT_EQ(dialog_error(dialog), "'onleftclick' is not supported for the following gadget: text");
    EXPECT_EQ(dialog_window(dialog), -1);
    EXPECT_EQ(is_window(7), nullptr);

    EXPECT_EQ(open(u"<window name='w'><listview name='l' OnLeftClick='nothing_here'/></window>", u"w"), 0);
    EXPECT_EQ(dialog_error(dialog), "'nothing_here' is not a runtime procedure.");

    ASSERT_EQ(open(u"<window name='w'><listview name='l' id='2' width='100' height='100' onleftclick='count_call'/>"
                   u"</window>",
                   u"w"),
              1)
        << dialog_error(dialog);
    const HWND list = control(u"l");
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    // The same callback bound through the gadget core is the reference: the
    // definition's binding must fire exactly as often.
    gadget_bind_event(dialog_gadget(dialog, u"l"), count_gadget_call, ET_LEFT_CLICK);
    g_calls = g_gadget_calls = 0;
    RECT r;
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 2, r.top + 2));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 2, r.top + 2));
    pump();
    EXPECT_GT(g_gadget_calls, 0);
    EXPECT_EQ(g_calls, g_gadget_calls);
    // Other event types of the list are not bound.
    g_calls = g_gadget_calls = 0;
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(r.left + 2, r.top + 2));
    PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(r.left + 2, r.top + 2));
    pump();
    EXPECT_EQ(g_calls, 0);
}

TEST_F(DialogTest, IdsTakePbAnyRegisteredNamesAndRejectTheRest) {
    register_runtime_integer(u"#GADGET_OK", 12);
    ASSERT_EQ(open(u"<window name='w'><vbox><button name='any' id='#PB_Any'/><button name='named' id='#GADGET_OK'/>"
                   u"<button name='plain' id='5'/></vbox></window>",
                   u"w"),
              1)
        << dialog_error(dialog);
    const std::intptr_t any = dialog_gadget(dialog, u"any");
    EXPECT_NE(any, -1);
    EXPECT_NE(any, 0);
    EXPECT_NE(gadget_handle(any), nullptr);  // a handle, not a number
    EXPECT_EQ(dialog_gadget(dialog, u"named"), 12);
    EXPECT_EQ(dialog_gadget(dialog, u"plain"), 5);

    EXPECT_EQ(open(u"<window name='w' id='9'><button name='b' id='#NOT_THERE'/></window>", u"w"), 0);
    EXPECT_EQ(dialog_error(dialog), "'#NOT_THERE' constant is not found or not declared as runtime.");
    EXPECT_EQ(dialog_window(dialog), -1);
    EXPECT_EQ(is_window(9), nullptr);
}

TEST_F(DialogTest, GadgetsThatCannotBeMadeOrPlacedFailNamingTheElement) {
    // A system without the browser object, as a class that does not exist.
    static const CLSID kNoSuchClass = {0x1b2c3d4e, 0x5f60, 0x4172, {0x83, 0x94, 0xa5, 0xb6, 0xc7, 0xd8, 0xe9, 0xfa}};
    set_web_browser_class(&kNoSuchClass);
    EXPECT_EQ(open(u"<window name='w' id='1'><vbox><button name='ok'/><Web name='page'/></vbox></window>", u"w"), 0);
    set_web_browser_class(nullptr);
    EXPECT_EQ(dialog_error(dialog), "'Web' gadget could not be created: page");
    EXPECT_EQ(is_window(1), nullptr);
    EXPECT_EQ(open(u"<window name='w'><vbox><tab name='page'/></vbox></window>", u"w"), 0);
    EXPECT_EQ(dialog_error(dialog), "'tab' is not inside a panel: page");
}

TEST_F(DialogTest, LookupsFindTheFirstNameAndNothingForTheWindow) {
    ASSERT_EQ(open(u"<window name='Main'><vbox name='box'><button name='dup' id='3'/>"
                   u"<hbox><button name='DUP' id='4'/></hbox></vbox></window>",
                   u"main"),
              1);
    EXPECT_EQ(dialog_gadget(dialog, u"Dup"), 3);
    EXPECT_EQ(dialog_gadget(dialog, u"main"), -1);
    EXPECT_EQ(dialog_gadget(dialog, u"box"), -1);
    EXPECT_EQ(dialog_gadget(dialog, u"missing"), -1);
    EXPECT_EQ(dialog_gadget(dialog + 1, u"dup"), -1);
    EXPECT_EQ(dialog_window(dialog + 1), -1);
}

TEST_F(DialogTest, DisabledAndInvisibleApplyToTheControls) {
    ASSERT_EQ(open(u"<window name='w'><vbox><button name='off' disabled='yes'/><button name='gone' invisible='YES'/>"
                   u"<button name='on' disabled='no'/></vbox></window>",
                   u"w"),
              1);
    EXPECT_FALSE(IsWindowEnabled(control(u"off")));
    EXPECT_FALSE(IsWindowVisible(control(u"gone")));
    EXPECT_TRUE(IsWindowEnabled(control(u"on")));
    EXPECT_TRUE(IsWindowVisible(control(u"on")));
}

TEST_F(DialogTest, AProgressBarTakesItsRangeAndValue) {
    ASSERT_EQ(
        open(u"<window name='w'><vbox><progressbar name='p1'/><progressbar name='p2' min='5' max='50' value='20'/>"
             u"</vbox></window>",
             u"w"),
        1);
    const std::intptr_t p1 = dialog_gadget(dialog, u"p1"), p2 = dialog_gadget(dialog, u"p2");
    EXPECT_EQ(gadget_get_attribute(p1, PB_ProgressBar_Minimum), 0);
    EXPECT_EQ(gadget_get_attribute(p1, PB_ProgressBar_Maximum), 100);
    EXPECT_EQ(gadget_get_state(p1), 0);
    EXPECT_EQ(gadget_get_attribute(p2, PB_ProgressBar_Minimum), 5);
    EXPECT_EQ(gadget_get_attribute(p2, PB_ProgressBar_Maximum), 50);
    EXPECT_EQ(gadget_get_state(dialog_gadget(dialog, u"p2")), 20);
}

// An hbox of two buttons 200 and 300 wide in a sizeable window, margins 8.
constexpr char16_t kRow[] =
    u"<window name='w' flags='#PB_Window_SizeGadget|#PB_Window_SystemMenu'><hbox>"
    u"<button name='a' width='200' height='20'/><button name='b' width='300' height='20'/></hbox></window>";

TEST_F(DialogTest, ControlsAreReplacedOnOpeningRefreshAndUserResize) {
    const std::intptr_t document = parse_xml_text(PB_Any, kRow);
    ASSERT_EQ(open_xml_dialog(dialog, document, u"w", 0, 0, 800, 100), 1);
    free_xml(document);
    // Opening: the window keeps the larger asked size; the row shares the spare width.
    EXPECT_EQ(inner_size().cx, 800);
    EXPECT_EQ(inner_size().cy, 100);
    const int spare = (800 - 16 - 505) / 2;
    EXPECT_EQ(rect_of(u"a"), rect_xywh(8, 8, 200 + spare, 84));
    EXPECT_EQ(rect_of(u"b"), rect_xywh(8 + 200 + spare + 5, 8, 300 + spare, 84));

    // The user drags the window smaller than the content: the window gives its
    // child at least what it asked for, so the row keeps its lengths and is
    // cut off by the window; only the height follows the window.
    RECT outer;
    GetWindowRect(window_hwnd(), &outer);
    SetWindowPos(window_hwnd(), nullptr, 0, 0, outer.right - outer.left - 484, outer.bottom - outer.top - 40,
                 SWP_NOMOVE | SWP_NOZORDER);
    pump();
    ASSERT_EQ(inner_size().cx, 316);
    ASSERT_EQ(inner_size().cy, 60);
    EXPECT_EQ(rect_of(u"a"), rect_xywh(8, 8, 200, 44));
    EXPECT_EQ(rect_of(u"b"), rect_xywh(213, 8, 300, 44));
    // Larger again: the spare width is shared from the stored lengths.
    SetWindowPos(window_hwnd(), nullptr, 0, 0, outer.right - outer.left - 200, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    pump();
    ASSERT_EQ(inner_size().cx, 600);
    EXPECT_EQ(rect_of(u"a"), rect_xywh(8, 8, 200 + (584 - 505) / 2, 84));
    EXPECT_EQ(rect_of(u"b"), rect_xywh(8 + 200 + (584 - 505) / 2 + 5, 8, 300 + (584 - 505) / 2, 84));
    SetWindowPos(window_hwnd(), nullptr, 0, 0, outer.right - outer.left - 484, outer.bottom - outer.top - 40,
                 SWP_NOMOVE | SWP_NOZORDER);
    pump();

    // A refresh grows the window back to what the content needs, and keeps
    // the height that is already more than enough.
    refresh_dialog(dialog);
    pump();
    EXPECT_EQ(inner_size().cx, 505 + 16);
    EXPECT_EQ(inner_size().cy, 60);
    EXPECT_EQ(rect_of(u"a"), rect_xywh(8, 8, 200, 44));
    EXPECT_EQ(rect_of(u"b"), rect_xywh(213, 8, 300, 44));
}

TEST_F(DialogTest, RefreshGrowsForLongerTextsAndNeverShrinks) {
    ASSERT_EQ(
        open(u"<window name='w'><hbox><button name='b' text='Go' width='150' height='30'/></hbox></window>", u"w"), 1);
    EXPECT_EQ(inner_size().cx, 166);
    const std::intptr_t button = dialog_gadget(dialog, u"b");
    gadget_set_text(button, u"A much longer caption than before, long enough for the test");
    const std::int32_t needed = gadget_width(button, 1);
    ASSERT_GT(needed, 150);
    refresh_dialog(dialog);
    EXPECT_EQ(inner_size().cx, needed + 16);
    EXPECT_EQ(rect_of(u"b"), rect_xywh(8, 8, needed, 30));
    gadget_set_text(button, u"Go");
    refresh_dialog(dialog);
    EXPECT_EQ(inner_size().cx, needed + 16);
    // The window keeps its width and the row stretches the button over it.
    EXPECT_EQ(rect_of(u"b"), rect_xywh(8, 8, needed, 30));
}

TEST_F(DialogTest, WindowLimitsComeFromTheDefinition) {
    ASSERT_EQ(open(u"<window name='w' minwidth='auto' maxwidth='400' minheight='90' "
                   u"flags='#PB_Window_SizeGadget'><button width='150' height='20'/></window>",
                   u"w"),
              1);
    EXPECT_EQ(inner_size().cx, 166);
    EXPECT_EQ(inner_size().cy, 90);
    RECT outer;
    GetWindowRect(window_hwnd(), &outer);
    // Far smaller than the minimum: the platform stops at the limit.
    SetWindowPos(window_hwnd(), nullptr, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER);
    pump();
    EXPECT_EQ(inner_size().cx, 166);
    EXPECT_EQ(inner_size().cy, 90);
}

TEST_F(DialogTest, ASecondOpeningReplacesTheTreeAndFreeingClosesTheWindow) {
    ASSERT_EQ(open(u"<window name='w' id='1'><button name='b' id='2'/></window>", u"w"), 1);
    ASSERT_EQ(open(u"<window name='w' id='3'><button name='c' id='4'/></window>", u"w"), 1);
    EXPECT_EQ(dialog_window(dialog), 3);
    EXPECT_EQ(dialog_gadget(dialog, u"b"), -1);
    EXPECT_EQ(dialog_gadget(dialog, u"c"), 4);
    EXPECT_NE(is_window(1), nullptr);  // the earlier window stays the program's
    free_dialog(dialog);
    EXPECT_EQ(is_window(3), nullptr);
    EXPECT_FALSE(is_dialog(dialog));
    EXPECT_EQ(dialog_window(dialog), -1);
}

TEST_F(DialogTest, FreeingAWindowTheProgramClosedItselfIsSafe) {
    ASSERT_EQ(open(u"<window name='w' id='6'><button name='b'/></window>", u"w"), 1);
    close_window(6);
    EXPECT_EQ(dialog_window(dialog), 6);
    free_dialog(PB_Any);
    EXPECT_FALSE(is_dialog(dialog));
}

TEST_F(DialogTest, NumberedDialogsAreReplacedAndAllFreed) {
    ASSERT_NE(create_dialog(4), 0);
    ASSERT_NE(parse_xml_text(1, u"<window name='w' id='8'/>"), 0);
    ASSERT_EQ(open_xml_dialog(4, 1, u"w"), 1);
    free_xml(1);
    ASSERT_NE(create_dialog(4), 0);  // the old dialog 4 goes, with its window
    EXPECT_EQ(is_window(8), nullptr);
    EXPECT_EQ(dialog_window(4), -1);
    EXPECT_EQ(create_dialog(-5), 0);
    free_dialog(PB_Any);
    EXPECT_FALSE(is_dialog(4));
}

}  // namespace
