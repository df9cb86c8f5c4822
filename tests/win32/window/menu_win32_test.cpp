// Menus: building, item states, menu bars, and popup menus chosen with real
// input while the platform tracks them.
#include "window/menu.h"

#include <atomic>
#include <functional>
#include <thread>

#include "support/import_slot_win32.h"
#include "window_test_support_win32.h"

namespace {

class MenuTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        init_menus();
    }
    void TearDown() override {
        end_menus();
        WindowTest::TearDown();
    }
    static HMENU hmenu(std::intptr_t number) { return static_cast<HMENU>(menu_handle(number)); }
    static std::wstring item_text(HMENU m, UINT item) {
        wchar_t buffer[64] = {};
        GetMenuStringW(m, item, buffer, 64, MF_BYCOMMAND);
        return buffer;
    }
};

TEST_F(MenuTest, ItemsGoToTheMenuMadeLastAndKeepTheirOtherStates) {
    const std::intptr_t made = create_popup_menu(0);
    ASSERT_NE(made, 0);
    EXPECT_EQ(reinterpret_cast<HMENU>(made), hmenu(0));
    EXPECT_TRUE(add_menu_item(1, u"Remove selected"));
    EXPECT_TRUE(add_menu_item(2, nullptr));
    EXPECT_TRUE(add_menu_separator());
    const std::intptr_t any = create_popup_menu(PB_Any);
    ASSERT_NE(any, 0);
    EXPECT_TRUE(add_menu_item(9, u"other"));
    EXPECT_EQ(GetMenuItemCount(hmenu(0)), 3);
    EXPECT_EQ(GetMenuItemCount(hmenu(any)), 1);
    EXPECT_EQ(item_text(hmenu(0), 1), L"Remove selected");
    EXPECT_EQ(item_text(hmenu(0), 2), L"");
    EXPECT_TRUE(GetMenuState(hmenu(0), 2, MF_BYPOSITION) & MF_SEPARATOR);

    disable_menu_item(0, 1, 1);
    set_menu_item_checked(0, 1, 1);
    EXPECT_TRUE(menu_item_checked(0, 1));
    EXPECT_TRUE(GetMenuState(hmenu(0), 1, MF_BYCOMMAND) & MF_GRAYED);
    set_menu_item_checked(0, 1, 0);
    EXPECT_FALSE(menu_item_checked(0, 1));
    EXPECT_TRUE(GetMenuState(hmenu(0), 1, MF_BYCOMMAND) & MF_GRAYED);
    disable_menu_item(0, 1, 0);
    EXPECT_FALSE(GetMenuState(hmenu(0), 1, MF_BYCOMMAND) & MF_GRAYED);
    set_menu_item_text(0, 2, u"Remove ALL");
    EXPECT_EQ(item_text(hmenu(0), 2), L"Remove ALL");

    // Ids naming no menu change nothing.
    EXPECT_EQ(is_menu(5), nullptr);
    disable_menu_item(5, 1, 1);
    set_menu_item_checked(5, 1, 1);
    EXPECT_FALSE(menu_item_checked(5, 1));
    // A number in use gets a fresh menu.
    ASSERT_NE(create_popup_menu(0), 0);
    EXPECT_EQ(GetMenuItemCount(hmenu(0)), 0);
}

TEST_F(MenuTest, SubMenusNestSixtyFourDeepAndNoFurther) {
    ASSERT_NE(create_popup_menu(1), 0);
    for (int i = 0; i < kMenuStackDepth; ++i)
        ASSERT_TRUE(open_sub_menu(u"deeper")) << i;
    EXPECT_FALSE(open_sub_menu(u"too deep"));
    EXPECT_TRUE(add_menu_item(7, u"bottom"));
    HMENU m = hmenu(1);
    for (int i = 0; i < kMenuStackDepth; ++i) {
        ASSERT_EQ(GetMenuItemCount(m), 1);
        m = GetSubMenu(m, 0);
        ASSERT_NE(m, nullptr);
    }
    EXPECT_EQ(GetMenuItemCount(m), 1);  // "bottom" only: the refused level was not appended
    EXPECT_EQ(GetMenuItemID(m, 0), 7u);

    close_sub_menu();
    EXPECT_TRUE(add_menu_item(8, u"one up"));
    // A new menu starts at its own top level, with the full depth available.
    ASSERT_NE(create_popup_menu(2), 0);
    EXPECT_TRUE(open_sub_menu(u"fresh"));
    // After the menu being built is freed, nothing is appended anywhere.
    free_menu(2);
    EXPECT_FALSE(add_menu_item(3, u"lost"));
    EXPECT_FALSE(open_sub_menu(u"lost"));
}

BOOL WINAPI refused_set_menu(HWND, HMENU) noexcept {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

// A bar the window would not take is not reported as made, and no number or
// menu stays behind; the next one is made as usual.
TEST_F(MenuTest, AMenuBarTheWindowRefusesIsNotMade) {
    ASSERT_NE(open_window(1, 0, 0, 200, 100, u"bar", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    {
        const DivertedImport refused("SetMenu", reinterpret_cast<void*>(&refused_set_menu));
        ASSERT_NE(refused.original<void*>(), nullptr);
        EXPECT_EQ(create_menu(4, hwnd_of(1)), 0);
        EXPECT_FALSE(add_menu_item(11, u"Quit"));
    }
    EXPECT_EQ(is_menu(4), nullptr);
    EXPECT_EQ(GetMenu(hwnd_of(1)), nullptr);
    ASSERT_NE(create_menu(4, hwnd_of(1)), 0);
    EXPECT_EQ(GetMenu(hwnd_of(1)), hmenu(4));
}

TEST_F(MenuTest, FreeingAMenuBarRemovesItFromTheWindow) {
    ASSERT_NE(open_window(1, 0, 0, 200, 100, u"bar", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    const std::int32_t client_only = window_height(1);
    ASSERT_NE(create_menu(4, hwnd_of(1)), 0);
    ASSERT_TRUE(open_sub_menu(u"File"));
    ASSERT_TRUE(add_menu_item(11, u"Quit"));
    EXPECT_EQ(GetMenu(hwnd_of(1)), hmenu(4));
    EXPECT_GT(window_height(1), client_only - 1);
    free_menu(4);
    EXPECT_EQ(GetMenu(hwnd_of(1)), nullptr);
    EXPECT_EQ(is_menu(4), nullptr);
    // Freeing all menus, bars among them.
    ASSERT_NE(create_menu(5, hwnd_of(1)), 0);
    ASSERT_NE(create_popup_menu(6), 0);
    free_menu(PB_Any);
    EXPECT_EQ(GetMenu(hwnd_of(1)), nullptr);
    EXPECT_EQ(is_menu(5), nullptr);
    EXPECT_EQ(is_menu(6), nullptr);
}

// ---------------------------------------------------------------- popups with real input

void send_mouse(POINT p, DWORD flags) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((p.x * 65535LL + w / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535LL + h / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &in, sizeof in);
}

void send_key(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
}

HWND visible_popup() {
    HWND h = FindWindowW(L"#32768", nullptr);
    return h && IsWindowVisible(h) ? h : nullptr;
}

struct MenuChoice {
    std::int32_t window;
    std::intptr_t object;
};
std::vector<MenuChoice> g_chosen;
void on_menu_item() {
    g_chosen.push_back({static_cast<std::int32_t>(current_event_window()), current_event_object()});
}

int g_menu_events = 0;
void count_menu_event() {
    ++g_menu_events;
}

std::intptr_t g_popup = 0;
HMENU g_popup_handle = nullptr;  // for the input thread: the runtime is the GUI thread's
void show_popup_on_right_click() {
    show_popup_menu_at_cursor(g_popup, window_handle(current_event_window()));
}

class PopupTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        g_chosen.clear();
        ASSERT_NE(open_window(1, 60, 60, 240, 160, u"one", PB_Window_SystemMenu), 0);
        ASSERT_NE(open_window(2, 400, 60, 240, 160, u"two", PB_Window_SystemMenu), 0);
        settle();
        g_popup = 3;
        ASSERT_NE(create_popup_menu(g_popup), 0);
        g_popup_handle = hmenu(g_popup);
        add_menu_item(1, u"Remove selected");
        add_menu_item(2, u"Remove ALL");
        bind_menu_event(g_popup, 1, on_menu_item);
        bind_menu_event(g_popup, 2, on_menu_item);
        bind_event(EV_RIGHT_CLICK, show_popup_on_right_click, -1);
    }

    // Right-clicks in the window with real input and, once the popup is up,
    // runs act on it from the input thread; the loop turns meanwhile.
    bool right_click_then(std::intptr_t window, const std::function<void(HWND owner)>& act) {
        HWND owner = hwnd_of(window);
        RECT r;
        GetClientRect(owner, &r);
        POINT p{r.right / 2, r.bottom / 2};
        ClientToScreen(owner, &p);
        std::atomic<bool> done{false}, shown{false};
        std::thread input([&] {
            send_mouse(p, 0);
            Sleep(100);
            send_mouse(p, MOUSEEVENTF_RIGHTDOWN);
            Sleep(50);
            send_mouse(p, MOUSEEVENTF_RIGHTUP);
            for (int i = 0; i < 100 && !visible_popup(); ++i)
                Sleep(30);
            if (visible_popup()) {
                shown = true;
                Sleep(200);
                act(owner);
                for (int i = 0; i < 100 && visible_popup(); ++i)
                    Sleep(30);
            }
            done = true;
        });
        while (!done)
            (void)wait_window_event(20);
        input.join();
        settle();
        return shown;
    }

    // The centre of item position index of the tracked popup, on the screen.
    // Wine: GetMenuItemRect does not give screen coordinates for popups, but
    // its height is right; the items fill the popup window between equal borders.
    static POINT item_centre(HWND owner, int index) {
        RECT item{}, popup{};
        GetMenuItemRect(owner, g_popup_handle, static_cast<UINT>(index), &item);
        GetWindowRect(visible_popup(), &popup);
        const int h = item.bottom - item.top;
        const int border = (popup.bottom - popup.top - GetMenuItemCount(g_popup_handle) * h) / 2;
        return POINT{(popup.left + popup.right) / 2, popup.top + border + index * h + h / 2};
    }
    static void click(POINT p) {
        send_mouse(p, 0);
        Sleep(80);
        send_mouse(p, MOUSEEVENTF_LEFTDOWN);
        Sleep(50);
        send_mouse(p, MOUSEEVENTF_LEFTUP);
    }
};

TEST_F(PopupTest, AnItemChosenWithTheMouseOrKeysRunsItsCallbackOnceForWhicheverWindowShowedIt) {
    ASSERT_TRUE(right_click_then(2, [](HWND owner) { click(item_centre(owner, 1)); }));
    ASSERT_EQ(g_chosen.size(), 1u);
    EXPECT_EQ(g_chosen[0].window, 2);
    EXPECT_EQ(g_chosen[0].object, 2);

    ASSERT_TRUE(right_click_then(1, [](HWND) {
        send_key(VK_DOWN);
        Sleep(100);
        send_key(VK_RETURN);
    }));
    ASSERT_EQ(g_chosen.size(), 2u);
    EXPECT_EQ(g_chosen[1].window, 1);
    EXPECT_EQ(g_chosen[1].object, 1);
}

TEST_F(PopupTest, EscapeOrADisabledItemGiveNoEvent) {
    ASSERT_TRUE(right_click_then(1, [](HWND) { send_key(VK_ESCAPE); }));
    EXPECT_TRUE(g_chosen.empty());

    disable_menu_item(g_popup, 2, 1);
    set_menu_item_checked(g_popup, 2, 1);  // still disabled
    ASSERT_TRUE(right_click_then(2, [](HWND owner) {
        click(item_centre(owner, 1));
        Sleep(300);
        if (visible_popup())
            send_key(VK_ESCAPE);
    }));
    EXPECT_TRUE(g_chosen.empty());

    // Enabled again, the same click chooses it; unbound, it runs nothing but
    // still reaches the window.
    disable_menu_item(g_popup, 2, 0);
    EXPECT_TRUE(unbind_menu_event(g_popup, 2, on_menu_item));
    g_menu_events = 0;
    bind_event(EV_MENU, count_menu_event, 2);
    ASSERT_TRUE(right_click_then(2, [](HWND owner) { click(item_centre(owner, 1)); }));
    EXPECT_TRUE(g_chosen.empty());
    EXPECT_EQ(g_menu_events, 1);
}

}  // namespace
