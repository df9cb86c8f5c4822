// Opening, closing, sizing and showing top-level windows; the window registry.
#include "window/window.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/object_library.h"
#include "system/gui_thread.h"
#include "system/handles_win32.h"
#include "system/wide.h"
#include "window/drop_target.h"
#include "window/event_bindings.h"
#include "window/gadget_hooks.h"
#include "window/window_record_win32.h"

namespace {

std::unique_ptr<ObjectLibrary<Window>> g_windows;
HICON g_icon = nullptr;
HCURSOR g_cursor = nullptr;

constexpr std::uint32_t kCentreFlags = PB_Window_ScreenCentered | PB_Window_WindowCentered;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

std::wstring class_name(std::intptr_t id) {
    // Formatted as a 32-bit signed number, as handles are on the target.
    return L"WindowClass_" + std::to_wstring(static_cast<std::int32_t>(id));
}

ATOM register_window_class(const std::wstring& name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = window_class_proc;
    wc.hInstance = instance();
    wc.hIcon = g_icon;
    wc.hCursor = g_cursor;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name.c_str();
    return RegisterClassExW(&wc);
}

// A new window's record until its platform window stands: any way out before
// that gives the number back.
class PendingRecord {
public:
    PendingRecord(ObjectLibrary<Window>& library, std::intptr_t id) : library_(library), id_(id) {}
    ~PendingRecord() {
        if (!kept_)
            library_.release(id_);
    }
    PendingRecord(const PendingRecord&) = delete;
    PendingRecord& operator=(const PendingRecord&) = delete;
    void keep() { kept_ = true; }

private:
    ObjectLibrary<Window>& library_;
    std::intptr_t id_;
    bool kept_ = false;
};

// Desktop composition draws an invisible border left of sizable windows; the
// platform's position then lies 5 pixels off. Asked once per process.
int composition_offset() {
    static const int offset = [] {
        HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
        if (!dwm)
            return 0;
        using IsEnabled = HRESULT(WINAPI*)(BOOL*);
        auto query =
            reinterpret_cast<IsEnabled>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
        BOOL enabled = FALSE;
        const int result = query && SUCCEEDED(query(&enabled)) && enabled ? 5 : 0;
        FreeLibrary(dwm);
        return result;
    }();
    return offset;
}

// Moves without resizing, activating or changing the Z order. Centring on a
// window uses against, or the active window; with neither nothing moves.
void centre_window(HWND hwnd, bool on_screen, HWND against) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int x, y;
    if (on_screen) {
        const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        x = (sw - std::min(sw, w)) / 2;
        y = (sh - std::min(sh, h)) / 2;
    } else {
        if (!against)
            against = GetActiveWindow();
        if (!against || against == hwnd)
            return;
        RECT p;
        GetWindowRect(against, &p);
        x = std::max(0, static_cast<int>(p.left + (p.right - p.left - w) / 2));
        y = std::max(0, static_cast<int>(p.top + (p.bottom - p.top - h) / 2));
    }
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void centre_by_flags(HWND hwnd, std::uint32_t flags, HWND against) {
    if (flags & PB_Window_ScreenCentered)
        centre_window(hwnd, true, nullptr);
    else if (flags & PB_Window_WindowCentered)
        centre_window(hwnd, false, against);
}

void close_window_free(std::intptr_t number) {
    close_window(number);
}

// Hiding or closing the active window hands activation to its owner rather than
// to whatever window the platform picks. An inactive window leaves activation alone.
void activate_owner(HWND hwnd) {
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner && GetActiveWindow() == hwnd)
        SetActiveWindow(owner);
}

// The thread's windows that `owner` owns. Found through the platform, not the
// registry, whose enumeration is in use while every window is freed.
struct OwnedSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_owned(HWND hwnd, LPARAM search) noexcept {
    auto& s = *reinterpret_cast<OwnedSearch*>(search);
    if (GetWindow(hwnd, GW_OWNER) == s.owner)
        s.found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> owned_windows(HWND owner) {
    OwnedSearch search{owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), collect_owned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::uint16_t bound_value(std::int32_t value, bool maximum) {
    if (value == -1)
        return 0;
    if (maximum)
        value = std::min(value, 32000);
    return static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
}

}  // namespace

Window* window_record(std::intptr_t number) {
    ASSERT_GUI_THREAD();
    return g_windows ? g_windows->find(number) : nullptr;
}

Window* find_window(HWND hwnd, std::intptr_t& number) {
    number = -1;
    for (HWND h = hwnd; h;) {
        if (HANDLE id = GetPropW(h, kPropWindowId)) {
            number = reinterpret_cast<std::intptr_t>(id) - 1;
            return window_record(number);
        }
        // Only children walk up: a top-level window's parent is its owner.
        h = (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr;
    }
    return nullptr;
}

SIZE window_frame_size(HWND hwnd) {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void init_windows() {
    if (g_windows)
        end_windows();
    g_windows = std::make_unique<ObjectLibrary<Window>>(16, close_window_free);
    g_icon = static_cast<HICON>(LoadImageW(instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    g_cursor = LoadCursorW(nullptr, IDC_ARROW);
}

void end_windows() {
    if (!g_windows)
        return;
    g_windows->free_all();
    g_windows.reset();
    if (g_icon)
        DestroyIcon(g_icon);
    g_icon = nullptr;
}

std::intptr_t open_window(std::intptr_t number,
                          std::int32_t x,
                          std::int32_t y,
                          std::int32_t width,
                          std::int32_t height,
                          const char16_t* title,
                          std::uint32_t flags,
                          void* parent) {
    ASSERT_GUI_THREAD();
    if (!g_windows || number < PB_Any)
        return 0;
    const auto made = g_windows->create(number);
    if (!made)
        return 0;
    Window* win = made.record;
    const std::intptr_t id = made.id;
    PendingRecord pending(*g_windows, id);
    const std::wstring name = class_name(id);
    UniqueWindowClass window_class(register_window_class(name));
    if (!window_class)
        return 0;

    const bool no_gadgets = flags & PB_Window_NoGadgets;
    flags &= ~PB_Window_NoGadgets;
    if ((flags & ~(kCentreFlags | PB_Window_NoGadgets | PB_Window_Invisible)) == 0)
        flags |= PB_Window_TitleBar;
    const bool invisible = flags & PB_Window_Invisible;
    flags &= ~PB_Window_Invisible;
    DWORD ex_style = 0;
    if (flags & PB_Window_Tool) {
        ex_style |= WS_EX_TOOLWINDOW;
        flags = (flags & 0xDEFCFFFFu) | PB_Window_TitleBar;
    }
    const DWORD style = flags & 0xFDFFFFF8u;

    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);

    int px = x, py = y;
    if (x == kIgnore || (y == kIgnore && !(flags & kCentreFlags))) {
        px = py = CW_USEDEFAULT;
    } else {
        if (y == kIgnore)
            py = 0;  // centred below
        if ((style & PB_Window_SizeGadget) == PB_Window_SizeGadget)
            px -= composition_offset();
    }

    const std::u16string text = title ? std::u16string(title) : std::u16string();
    HWND hwnd = CreateWindowExW(ex_style, name.c_str(), wide(text), style, px, py, outer.right - outer.left,
                                outer.bottom - outer.top, static_cast<HWND>(parent), nullptr, instance(), nullptr);
    if (!hwnd)
        return 0;
    // Without its number the window's messages cannot find it: it would live
    // on deaf, its record outliving it.
    if (!SetPropW(hwnd, kPropWindowId, reinterpret_cast<HANDLE>(id + 1))) {
        const DWORD error = GetLastError();
        DestroyWindow(hwnd);
        SetLastError(error);
        return 0;
    }
    // From here the window owns its class (close_window unregisters it by name).
    (void)window_class.release();
    win->handle = hwnd;
    pending.keep();
    win->created = false;

    centre_by_flags(hwnd, flags, static_cast<HWND>(parent));

    const bool no_activate = flags & PB_Window_NoActivate;
    if (!invisible) {
        if (style & WS_MAXIMIZE)
            ShowWindow(hwnd, no_activate ? SW_SHOWNA : SW_SHOWMAXIMIZED);
        else if (style & WS_MINIMIZE)
            ShowWindow(hwnd, no_activate ? SW_SHOWMINNOACTIVE : SW_SHOWMINIMIZED);
        else
            ShowWindow(hwnd, no_activate ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);
    }
    // The show may have run callbacks that closed the window again.
    if (window_record(id) != win || win->handle != hwnd)
        return 0;
    win->minimized_or_maximized = style & (WS_MINIMIZE | WS_MAXIMIZE);

    win->accelerators[0] = ACCEL{FVIRTKEY | FNOINVERT, VK_TAB, kCommandFocusNext};
    win->accelerators[1] = ACCEL{FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, kCommandFocusPrevious};
    win->accelerator_count = 2;
    win->accelerator_table = CreateAcceleratorTableW(win->accelerators, win->accelerator_count);
    if (!win->accelerator_table) {
        // Without its table Tab would silently move no focus: no window.
        const DWORD error = GetLastError();
        close_window(id);
        SetLastError(error);
        return 0;
    }

    if (!no_gadgets)
        use_gadget_list(hwnd);
    win->created = true;
    return made.result(reinterpret_cast<std::intptr_t>(hwnd));
}

void close_window(std::intptr_t number) {
    if (!g_windows)
        return;
    const Window* win = g_windows->free_all_or_find(number);
    if (!win)
        return;
    const Window closing = *win;
    // Its callbacks and events end first: closing what it owns hands the
    // activation back to it, and a callback run then could close or reopen
    // this very number in the middle of the close.
    remove_window_bindings(number);
    RemovePropW(closing.handle, kPropWindowId);
    // The platform destroys the windows this one owns along with it: closed
    // here first, they do not outlive their windows as records and classes.
    for (const HWND hwnd : owned_windows(closing.handle)) {
        std::intptr_t other;
        if (find_window(hwnd, other) && window_handle(other) == hwnd)
            close_window(other);
    }
    // Something reached from there closed it after all: it is done.
    const auto still_closing = [&] {
        const Window* now = window_record(number);
        return now && now->handle == closing.handle;
    };
    if (!still_closing())
        return;
    // The owner's callbacks run here (its activation); one may close this
    // number, or close and open it again: the new window is not ours to end.
    activate_owner(closing.handle);
    if (!still_closing())
        return;
    remove_drop_target(closing.handle);
    // Released before the platform window goes, so that nothing reached during
    // the destruction can find (or close again) a half-closed window.
    g_windows->release(number);
    DestroyWindow(closing.handle);
    UnregisterClassW(class_name(number).c_str(), instance());
    if (closing.accelerator_table)
        DestroyAcceleratorTable(closing.accelerator_table);
    if (closing.background)
        DeleteObject(closing.background);
    remove_queued_events(-1, -1, number, -1);
}

Window* is_window(std::intptr_t number) {
    return window_record(number);
}

void* window_handle(std::intptr_t number) {
    Window* win = window_record(number);
    return win ? win->handle : nullptr;
}

void set_window_title(std::intptr_t number, const char16_t* title) {
    Window* win = window_record(number);
    if (!win || !title)
        return;
    SetWindowTextW(win->handle, reinterpret_cast<const wchar_t*>(title));
}

void resize_window(std::intptr_t number, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    Window* win = window_record(number);
    if (!win)
        return;
    HWND hwnd = win->handle;
    if (IsZoomed(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));

    auto keep = [](std::int32_t& value, LONG current) {
        if (value == kIgnore)
            value = current;
    };
    if (x == kIgnore || y == kIgnore) {
        RECT r;
        GetWindowRect(hwnd, &r);
        keep(x, r.left);
        keep(y, r.top);
    } else if (style & WS_THICKFRAME) {
        x -= composition_offset();
    }
    // The inner height counts the menu bar; a client height read back does not.
    const bool menu_in_frame = height == kIgnore && GetMenu(hwnd);
    RECT c;
    GetClientRect(hwnd, &c);
    keep(width, c.right);
    keep(height, c.bottom);
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, style, menu_in_frame, ex_style);
    SetWindowPos(hwnd, nullptr, x, y, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
}

void window_bounds(std::intptr_t number,
                   std::int32_t min_width,
                   std::int32_t min_height,
                   std::int32_t max_width,
                   std::int32_t max_height) {
    Window* win = window_record(number);
    if (!win)
        return;
    if (min_width != kIgnore)
        win->min_width = bound_value(min_width, false);
    if (min_height != kIgnore)
        win->min_height = bound_value(min_height, false);
    if (max_width != kIgnore)
        win->max_width = bound_value(max_width, true);
    if (max_height != kIgnore)
        win->max_height = bound_value(max_height, true);
    // Moving to the same place makes the platform apply the new tracking limits.
    if (!IsZoomed(win->handle) && !IsIconic(win->handle))
        resize_window(number, kIgnore, kIgnore, kIgnore, kIgnore);
}

void show_window(std::intptr_t number, bool hide, std::uint32_t flags) {
    Window* win = window_record(number);
    if (!win)
        return;
    HWND hwnd = win->handle;
    if (hide) {
        activate_owner(hwnd);
        ShowWindow(hwnd, SW_HIDE);
        return;
    }
    centre_by_flags(hwnd, flags, GetWindow(hwnd, GW_OWNER));
    const bool no_activate = flags & PB_Window_NoActivate;
    if (IsZoomed(hwnd))
        ShowWindow(hwnd, no_activate ? SW_SHOWNA : SW_SHOWMAXIMIZED);
    else if (IsIconic(hwnd))
        ShowWindow(hwnd, no_activate ? SW_SHOWMINNOACTIVE : SW_SHOWMINIMIZED);
    else
        ShowWindow(hwnd, no_activate ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);
}

void centre_window_by_flags(std::intptr_t number, std::uint32_t flags, void* against) {
    if (Window* win = window_record(number))
        centre_by_flags(win->handle, flags, static_cast<HWND>(against));
}

std::int32_t window_width(std::intptr_t number, bool inner) {
    Window* win = window_record(number);
    if (!win)
        return 0;
    RECT r;
    if (inner) {
        GetClientRect(win->handle, &r);
        return r.right;
    }
    GetWindowRect(win->handle, &r);
    return r.right - r.left;
}

std::int32_t window_height(std::intptr_t number, bool inner) {
    Window* win = window_record(number);
    if (!win)
        return 0;
    RECT r;
    if (inner) {
        GetClientRect(win->handle, &r);
        return r.bottom + (GetMenu(win->handle) ? GetSystemMetrics(SM_CYMENU) : 0);
    }
    GetWindowRect(win->handle, &r);
    return r.bottom - r.top;
}

std::intptr_t window_number_of(void* hwnd) {
    std::intptr_t number;
    return find_window(static_cast<HWND>(hwnd), number) ? number : -1;
}
