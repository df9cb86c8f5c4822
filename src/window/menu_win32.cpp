// Menus over the platform's menus: the registry, the build state that says
// where items go, item operations, popup tracking and menu bars.
#include "window/menu.h"

#include <memory>
#include <string>

#include "base/object_library.h"
#include "system/gui_thread.h"
#include "system/wide.h"
#include "system/win32.h"
#include "window/event_types.h"
#include "window/window.h"

struct Menu {
    HMENU handle;  // the liveness word
    HWND window;   // the window showing it as its menu bar; null for a popup menu
};

namespace {

// Where items go: the menu created last (named by its id and checked against
// its handle, so a freed menu is never built on) and the submenu being filled.
struct MenuBuildState {
    std::intptr_t menu_id = 0;
    HMENU menu = nullptr;
    HMENU current = nullptr;
    HMENU stack[kMenuStackDepth] = {};
    int depth = 0;
};

std::unique_ptr<ObjectLibrary<Menu>> g_menus;
MenuBuildState g_build;

void free_menu_routine(std::intptr_t id) {
    free_menu(id);
}

// Every operation passes here or through add_menu: the build state has no lock.
Menu* menu_record(std::intptr_t number) {
    ASSERT_GUI_THREAD();
    if (!g_menus)
        return nullptr;
    return g_menus->find(number);
}

// The menu being built, or null once it has been freed.
Menu* building() {
    Menu* m = menu_record(g_build.menu_id);
    return m && m->handle == g_build.menu ? m : nullptr;
}

const wchar_t* text_or_empty(const char16_t* text) {
    return text ? reinterpret_cast<const wchar_t*>(text) : L"";
}

// A menu bar shows a change only once the window is told.
void refresh_bar(const Menu* m) {
    if (m && m->window && IsWindow(m->window) && GetMenu(m->window) == m->handle) {
        SetMenu(m->window, m->handle);
        DrawMenuBar(m->window);
    }
}

std::intptr_t add_menu(std::intptr_t number, HMENU handle, HWND window) {
    ASSERT_GUI_THREAD();
    if (!g_menus || number < PB_Any || !handle) {
        if (handle)
            DestroyMenu(handle);
        return 0;
    }
    const auto made = g_menus->create(number);
    if (!made) {
        DestroyMenu(handle);
        return 0;
    }
    Menu* m = made.record;
    const std::intptr_t id = made.id;
    // A menu bar the window would not take is no menu bar: not reported as one.
    if (window && !SetMenu(window, handle)) {
        const DWORD error = GetLastError();
        g_menus->release(id);
        DestroyMenu(handle);
        SetLastError(error);
        return 0;
    }
    m->handle = handle;
    m->window = window;
    // A new menu has no enclosing menus: the stack starts again with it.
    g_build = MenuBuildState{};
    g_build.menu_id = id;
    g_build.menu = handle;
    g_build.current = handle;
    return made.result(reinterpret_cast<std::intptr_t>(handle));
}

UINT item_state(HMENU menu, std::uint32_t item, bool& found) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    found = GetMenuItemInfoW(menu, item, FALSE, &info) != 0;
    return info.fState;
}

}  // namespace

void init_menus() {
    if (g_menus)
        end_menus();
    g_menus = std::make_unique<ObjectLibrary<Menu>>(16, free_menu_routine);
    g_build = MenuBuildState{};
}

void end_menus() {
    if (!g_menus)
        return;
    g_menus->free_all();
    g_menus.reset();
    g_build = MenuBuildState{};
}

std::intptr_t create_popup_menu(std::intptr_t number) {
    if (!g_menus || number < PB_Any)
        return 0;
    return add_menu(number, CreatePopupMenu(), nullptr);
}

std::intptr_t create_menu(std::intptr_t number, void* window) {
    const auto hwnd = static_cast<HWND>(window);
    if (!g_menus || number < PB_Any || !hwnd || !IsWindow(hwnd))
        return 0;
    return add_menu(number, CreateMenu(), hwnd);
}

bool add_menu_item(std::uint32_t item, const char16_t* text, std::intptr_t /*image*/) {
    Menu* m = building();
    if (!m || !AppendMenuW(g_build.current, MF_STRING, item, text_or_empty(text)))
        return false;
    refresh_bar(m);
    return true;
}

bool add_menu_separator() {
    Menu* m = building();
    if (!m || !AppendMenuW(g_build.current, MF_SEPARATOR, static_cast<UINT_PTR>(-1), nullptr))
        return false;
    refresh_bar(m);
    return true;
}

bool open_sub_menu(const char16_t* text, std::intptr_t /*image*/) {
    Menu* m = building();
    if (!m || g_build.depth >= kMenuStackDepth)
        return false;
    HMENU sub = CreatePopupMenu();
    if (!sub)
        return false;
    if (!AppendMenuW(g_build.current, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text_or_empty(text))) {
        DestroyMenu(sub);
        return false;
    }
    g_build.stack[g_build.depth++] = g_build.current;
    g_build.current = sub;
    refresh_bar(m);
    return true;
}

void close_sub_menu() {
    if (building() && g_build.depth > 0)
        g_build.current = g_build.stack[--g_build.depth];
}

void disable_menu_item(std::intptr_t menu, std::uint32_t item, std::int32_t state) {
    Menu* m = menu_record(menu);
    if (!m)
        return;
    EnableMenuItem(m->handle, item, MF_BYCOMMAND | (state ? MF_GRAYED : MF_ENABLED));
    refresh_bar(m);
}

void set_menu_item_checked(std::intptr_t menu, std::uint32_t item, std::int32_t state) {
    Menu* m = menu_record(menu);
    if (!m)
        return;
    bool found;
    const UINT old = item_state(m->handle, item, found);
    if (!found)
        return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = state ? (old | MFS_CHECKED) : (old & ~static_cast<UINT>(MFS_CHECKED));
    SetMenuItemInfoW(m->handle, item, FALSE, &info);
    refresh_bar(m);
}

bool menu_item_checked(std::intptr_t menu, std::uint32_t item) {
    Menu* m = menu_record(menu);
    bool found = false;
    return m && (item_state(m->handle, item, found) & MFS_CHECKED) && found;
}

void set_menu_item_text(std::intptr_t menu, std::uint32_t item, const char16_t* text) {
    Menu* m = menu_record(menu);
    if (!m)
        return;
    std::wstring copy = text_or_empty(text);  // the platform takes a writable pointer
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = copy.data();
    SetMenuItemInfoW(m->handle, item, FALSE, &info);
    refresh_bar(m);
}

// The platform reports only the low 16 bits of an item identifier; a binding on
// the full value could never fire.
void bind_menu_event(std::intptr_t menu, std::uint32_t item, EventCallback callback) {
    Menu* m = menu_record(menu);
    if (!m || !callback)
        return;
    const std::intptr_t window = m->window ? window_number_of(m->window) : -1;
    bind_event(EV_MENU, callback, window, item & 0xFFFF, 0);
}

bool unbind_menu_event(std::intptr_t menu, std::uint32_t item, EventCallback callback) {
    Menu* m = menu_record(menu);
    if (!m)
        return false;
    const std::intptr_t window = m->window ? window_number_of(m->window) : -1;
    return unbind_event(EV_MENU, callback, window, item & 0xFFFF, 0);
}

void show_popup_menu(std::intptr_t menu, void* window, std::int32_t x, std::int32_t y) {
    Menu* m = menu_record(menu);
    const auto hwnd = static_cast<HWND>(window);
    if (!m || !hwnd || !IsWindow(hwnd))
        return;
    const HMENU handle = m->handle;  // callbacks run while tracking may free the menu
    SetForegroundWindow(hwnd);
    TrackPopupMenu(handle, TPM_RIGHTBUTTON, x, y, 0, hwnd, nullptr);
    // Without a message after the menu closes, a later popup of this window may
    // not close on a click elsewhere.
    PostMessageW(hwnd, WM_NULL, 0, 0);
}

void show_popup_menu_at_cursor(std::intptr_t menu, void* window) {
    POINT p{0, 0};
    GetCursorPos(&p);
    show_popup_menu(menu, window, p.x - 1, p.y - 1);
}

Menu* is_menu(std::intptr_t number) {
    return menu_record(number);
}

void* menu_handle(std::intptr_t number) {
    Menu* m = menu_record(number);
    return m ? m->handle : nullptr;
}

void free_menu(std::intptr_t number) {
    ASSERT_GUI_THREAD();
    if (!g_menus)
        return;
    const Menu* m = g_menus->free_all_or_find(number);
    if (!m)
        return;
    const Menu closing = *m;
    g_menus->release(number);
    if (g_build.menu == closing.handle)
        g_build = MenuBuildState{};
    if (closing.window && IsWindow(closing.window) && GetMenu(closing.window) == closing.handle) {
        SetMenu(closing.window, nullptr);
        DrawMenuBar(closing.window);
    }
    // A window destroys the menu bar it still shows when it goes.
    if (IsMenu(closing.handle))
        DestroyMenu(closing.handle);
}
