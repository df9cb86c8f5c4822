// The main window opened inside the test's own process, where what cannot be
// read from outside can be: the font every control was given, and which items
// of the list's menu are enabled and bound.
#include "system/win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/busy_flag.h"
#include "app/dropped_files.h"
#include "app/file_map.h"
#include "app/program.h"
#include "app/program_state.h"
#include "app/version.h"
#include "dialog/dialog.h"
#include "gadget/gadget.h"
#include "support/scratch_dir.h"
#include "system/fatal_error.h"
#include "window/event_queue.h"
#include "window/menu.h"
#include "window/window.h"

namespace {

struct MenuSeen {
    bool shown = false;
    UINT selected_state = 0, all_state = 0;
};
MenuSeen g_seen;

// Runs inside the menu's modal loop: notes the items' states, closes the menu.
void CALLBACK look_at_menu(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HMENU menu = static_cast<HMENU>(menu_handle(0))) {
        g_seen.shown = true;
        g_seen.selected_state = GetMenuState(menu, 1, MF_BYCOMMAND);
        g_seen.all_state = GetMenuState(menu, 2, MF_BYCOMMAND);
    }
    KillTimer(nullptr, timer);
    EndMenu();
}

// A right-click on the list as the gadget reports it; the menu (if any) is
// looked at and closed.
MenuSeen right_click_list() {
    g_seen = {};
    const ProgramState& state = program_state();
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, look_at_menu);
    queue_event(EV_GADGET, state.files, state.window, ET_RIGHT_CLICK);
    if (!g_seen.shown)
        KillTimer(nullptr, timer);
    return g_seen;
}

void choose(std::uint32_t item) {
    queue_event(EV_MENU, item, -1, 0);
}

TEST(MainWindowInProcess, LooksAsDesignedWithItsFontAndMenuRules) {
    start_program();
    ProgramState& state = program_state();
    {
        // A dialog that is not there records no error of its own: the failed
        // opening must still say so, not pass for an open window.
        const std::intptr_t dialog = state.dialog;
        const std::u16string definition = state.definition;
        state.dialog = 0;
        const std::u16string problem = open_main_window();
        EXPECT_EQ(problem, u"Blobsmith cannot open its window.\r\n\r\nIts dialog could not be opened.");
        state.dialog = dialog;
        state.definition = definition;
    }
    ASSERT_EQ(open_main_window(), u"");
    HWND window = static_cast<HWND>(window_handle(state.window));
    ASSERT_NE(window, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Blobsmith v" BLOBSMITH_VERSION);

    // Every control asked for Consolas 10 at the screen's DPI (Wine may draw
    // another face; the request is what the program controls).
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int controls = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ++controls;
        LOGFONTW font{};
        auto hfont = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        ASSERT_NE(hfont, nullptr);
        ASSERT_NE(GetObjectW(hfont, sizeof font, &font), 0);
        EXPECT_STREQ(font.lfFaceName, L"Consolas");
        EXPECT_EQ(font.lfHeight, -MulDiv(10, dpi, 72));
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_FALSE(font.lfItalic);
    }
    EXPECT_EQ(controls, 6);
    // The link looks like one: blue, not the black of text.
    EXPECT_EQ(gadget_get_colour(state.home_link, FRONT_COLOR), 0xCC6600);

    // Empty list: both items grey, nothing bound.
    MenuSeen seen = right_click_list();
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.selected_state & MF_GRAYED);
    EXPECT_TRUE(seen.all_state & MF_GRAYED);

    ScratchDir dir;
    const std::vector<std::u16string> paths = {dir.write(u"a.txt", "a"), dir.write(u"b.txt", "b"),
                                               dir.write(u"c.txt", "c")};
    (void)collect_dropped_paths(file_map(), paths, &*program_state().file_list);
    ASSERT_EQ(gadget_count_items(state.files), 3);

    // Entries, no current item: only "Remove ALL"; "Remove selected" has no procedure.
    seen = right_click_list();
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.selected_state & MF_GRAYED);
    EXPECT_FALSE(seen.all_state & MF_GRAYED);
    EXPECT_FALSE(seen.all_state & MF_CHECKED);

    // A current item: both enabled, and each command does what it says.
    SendMessageW(static_cast<HWND>(gadget_handle(state.files)), LB_SETSEL, TRUE, 1);
    seen = right_click_list();
    ASSERT_TRUE(seen.shown);
    EXPECT_FALSE(seen.selected_state & MF_GRAYED);
    EXPECT_FALSE(seen.all_state & MF_GRAYED);
    choose(1);
    ASSERT_EQ(gadget_count_items(state.files), 2);
    EXPECT_EQ(gadget_get_item_text(state.files, 0), paths[0]);
    EXPECT_EQ(gadget_get_item_text(state.files, 1), paths[2]);
    EXPECT_EQ(file_map().size(), 2u);

    seen = right_click_list();
    choose(2);
    EXPECT_EQ(gadget_count_items(state.files), 0);
    EXPECT_EQ(file_map().size(), 0u);

    // While a generation runs a right-click opens nothing.
    (void)collect_dropped_paths(file_map(), paths, &*program_state().file_list);
    ASSERT_TRUE(busy_flag_try_set());
    seen = right_click_list();
    EXPECT_FALSE(seen.shown);
    busy_flag_clear();

    remove_all_entries(file_map(), *program_state().file_list);
    free_dialog(state.dialog);
    restore_error_filter();
}

}  // namespace
