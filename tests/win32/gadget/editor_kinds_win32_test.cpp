// The editor on the platform's rich-edit libraries (and its fallback and
// failure), and the editing component through a stand-in library.
#include <string>

#include "gadget/editor_kinds.h"
#include "gadget_test_support_win32.h"
#include "system/wide.h"

namespace {

TEST_F(GadgetTest, AnEditorKeepsLinesAndReportsTyping) {
    ASSERT_NE(editor_gadget(1, 0, 0, 200, 100, PB_Editor_WordWrap), 0);
    const HWND editor = hwnd(1);
    EXPECT_EQ(lstrcmpiW(class_of(editor).c_str(), L"RichEdit20W"), 0);
    const DWORD always = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_NOHIDESEL;
    EXPECT_EQ(style_of(editor) & always, always);
    EXPECT_FALSE(style_of(editor) & (WS_HSCROLL | ES_AUTOHSCROLL));  // wrapped text needs no horizontal bar
    EXPECT_EQ(gadget_get_attribute(1, PB_Editor_WordWrapState), 1);
    EXPECT_NE(GetPropW(editor, L"PB_WordWrap"), nullptr);
    EXPECT_GT(SendMessageW(editor, EM_GETLIMITTEXT, 0, 0), 0x1000000);

    gadget_add_item(1, -1, u"first");
    gadget_add_item(1, -1, u"third");
    gadget_add_item(1, 1, u"second");
    EXPECT_EQ(gadget_count_items(1), 3);
    EXPECT_EQ(gadget_get_item_text(1, 1), u"second");
    gadget_set_item_text(1, 2, u"last");
    EXPECT_EQ(gadget_get_text(1), u"first\r\nsecond\r\nlast");
    gadget_remove_item(1, 2);
    EXPECT_EQ(gadget_get_text(1), u"first\r\nsecond");
    EXPECT_EQ(pump(), GadgetEvents{});  // the program's own changes raise nothing

    post_char(editor, L'x');
    EXPECT_TRUE(has_event(pump(), {1, ET_CHANGE}));
    EXPECT_NE(gadget_get_text(1).find(u'x'), std::u16string::npos);
    gadget_set_attribute(1, PB_Editor_ReadOnlyState, 1);
    EXPECT_EQ(gadget_get_attribute(1, PB_Editor_ReadOnlyState), 1);
    gadget_clear_items(1);
    EXPECT_EQ(gadget_count_items(1), 0);
    gadget_set_colour(1, BACK_COLOR, 0x112233);
    EXPECT_EQ(gadget_get_colour(1, BACK_COLOR), 0x112233);
    expect_all_freed({editor});
}

TEST_F(GadgetTest, AnEditorFallsBackToTheOlderLibraryAndFailsCleanlyWithoutEither) {
    set_editor_libraries(L"no-such-rich-edit.dll", L"RICHED32.DLL");
    const std::intptr_t older = editor_gadget(PB_Any, 0, 0, 100, 50);
    if (older) {
        EXPECT_EQ(lstrcmpiW(class_of(hwnd(older)).c_str(), L"RichEdit"), 0);
    }
    set_editor_libraries(L"no-such-rich-edit.dll", L"no-older-one.dll");
    const HWND before = GetWindow(window, GW_CHILD);
    EXPECT_EQ(editor_gadget(5, 0, 0, 100, 50), 0);
    EXPECT_EQ(gadget_handle(5), nullptr);
    EXPECT_EQ(GetWindow(window, GW_CHILD), before);  // no control was left behind
    set_editor_libraries(L"RICHED20.DLL", L"RICHED32.DLL");
    if (!older)
        GTEST_SKIP() << "the older rich-edit library is not installed here";
}

std::intptr_t g_notified_gadget = 0;
unsigned g_notified_code = 0;
std::intptr_t remember(std::intptr_t gadget, void* notification) {
    g_notified_gadget = gadget;
    g_notified_code = static_cast<const NMHDR*>(notification)->code;
    return 77;
}

TEST_F(GadgetTest, TheEditingComponentComesFromItsLibraryOrNotAtAll) {
    // Before its library is loaded there is no such component.
    EXPECT_EQ(scintilla_gadget(1, 0, 0, 100, 100, remember), 0);
    EXPECT_EQ(gadget_handle(1), nullptr);
    const std::u16string library = from_wide(BLOBSMITH_BIN_DIR L"\\scintilla_stand_in.dll");
    ASSERT_TRUE(init_scintilla(library.c_str()));
    EXPECT_TRUE(init_scintilla(u"ignored-now.dll"));

    ASSERT_NE(scintilla_gadget(1, 0, 0, 100, 100, remember), 0);
    const HWND component = hwnd(1);
    EXPECT_EQ(class_of(component), L"Scintilla");
    EXPECT_TRUE(ex_style_of(component) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(scintilla_send_message(1, 2137, 0, 0), 65001);  // UTF-8 from the start
    click(component);
    post_mouse(component, WM_RBUTTONDOWN, 5, 5, MK_RBUTTON);
    post_mouse(component, WM_RBUTTONUP, 5, 5);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_RIGHT_CLICK}}));
    EXPECT_EQ(g_notified_gadget, 1);
    EXPECT_EQ(g_notified_code, 2001u);
    EXPECT_EQ(scintilla_send_message(2, 2137, 0, 0), 0);
    expect_all_freed({component});
}

}  // namespace

namespace {

TEST_F(GadgetTest, AWebGadgetShowsAPageAndReportsItsNavigation) {
    const std::intptr_t web = web_gadget(1, 0, 0, 300, 200, nullptr);
    if (!web)
        GTEST_SKIP() << "this system has no web browser object";
    EXPECT_EQ(class_of(hwnd(1)), L"VadiZuz");
    EXPECT_EQ(style_of(hwnd(1)) & 0xF0000000u, 0x50000000u);
    // The page engine is switched off in the tests, so no page loads and no
    // navigation event can be shown; the address is the browser's own.
    EXPECT_EQ(gadget_get_text(1), u"about:blank");
    gadget_resize(1, 0, 0, 320, 240);
    EXPECT_NE(GetWindow(hwnd(1), GW_CHILD), nullptr);  // the browser's own window inside
    expect_all_freed({hwnd(1)});
}

// A system without the browser object, as a class that does not exist.
TEST_F(GadgetTest, AWebGadgetWithoutABrowserObjectLeavesNothing) {
    static const CLSID kNoSuchClass = {0x1b2c3d4e, 0x5f60, 0x4172, {0x83, 0x94, 0xa5, 0xb6, 0xc7, 0xd8, 0xe9, 0xfa}};
    set_web_browser_class(&kNoSuchClass);
    ASSERT_NE(button_gadget(3, 0, 0, 50, 20, u"kept"), 0);
    EXPECT_EQ(web_gadget(3, 0, 0, 200, 150, u"about:blank"), 0);
    EXPECT_EQ(web_gadget(PB_Any, 0, 0, 200, 150, nullptr), 0);
    set_web_browser_class(nullptr);
    EXPECT_EQ(gadget_kind(3), kKindButton);  // the number keeps its gadget
    EXPECT_EQ(live_gadgets(), 1);
    int children = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, 1);
}

}  // namespace
