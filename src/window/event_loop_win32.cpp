// wait_window_event: hands out queued events and, while there are none, takes
// and dispatches one platform message, translating the focus keys.
#include <cstdint>
#include <cwchar>

#include "window/event_queue.h"
#include "window/window.h"
#include "window/window_record_win32.h"

namespace {

// From richedit.h, which the lean <windows.h> leaves out.
constexpr UINT kRichEditGetOptions = WM_USER + 78;
constexpr LRESULT kRichEditReadOnly = 0x800;

std::uintptr_t g_wparam = 0;
std::intptr_t g_lparam = 0;
MessagePrefilter g_prefilter = nullptr;

bool key_down(int key) {
    return GetKeyState(key) < 0;
}

// A writable rich-edit control takes a plain Tab as text.
bool takes_tab(HWND focus) {
    wchar_t name[16] = {};
    GetClassNameW(focus, name, 16);
    return std::wcsncmp(name, L"Rich", 4) == 0 && !(SendMessageW(focus, kRichEditGetOptions, 0, 0) & kRichEditReadOnly);
}

// The accelerator table for a key message, or null when it must reach the focus.
HACCEL accelerators_for(const MSG& msg, HWND active) {
    if (!active || !GetPropW(active, kPropWindowId))
        return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(active, &process);
    if (process != GetCurrentProcessId())
        return nullptr;
    std::intptr_t number;
    Window* win = find_window(active, number);
    if (!win)
        return nullptr;
    const bool modifier = key_down(VK_CONTROL) || key_down(VK_SHIFT) || key_down(VK_MENU);
    if (modifier)
        show_focus_cues(active, true);
    HWND focus = GetFocus();
    if (focus && GetPropW(focus, kPropHotkey))
        return nullptr;
    if (msg.wParam == VK_TAB && !modifier && focus && takes_tab(focus))
        return nullptr;
    return win->accelerator_table;
}

void handle_message(MSG& msg) {
    HWND active = GetActiveWindow();
    HACCEL table = nullptr;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
        table = accelerators_for(msg, active);
    if (g_prefilter && g_prefilter(msg.message, msg.wParam, msg.lParam))
        return;
    if (table && TranslateAcceleratorW(active, table, &msg)) {
        show_focus_cues(active, true);
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

std::int32_t wait_window_event(std::int32_t timeout_ms) {
    if (std::int32_t event = take_next_event()) {
        g_wparam = 0;
        g_lparam = 0;
        return event;
    }
    MSG msg{};
    if (timeout_ms < 0) {
        if (GetMessageW(&msg, nullptr, 0, 0) == -1)
            return 0;
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (timeout_ms == 0)
            return 0;
        const DWORD woke = MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout_ms),
                                                     QS_ALLINPUT | QS_ALLPOSTMESSAGE);
        if (woke != WAIT_OBJECT_0)
            return 0;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            return 0;
    }
    if (msg.message != WM_QUIT)
        handle_message(msg);
    g_wparam = msg.wParam;
    g_lparam = msg.lParam;
    return static_cast<std::int32_t>(msg.message);
}

std::uintptr_t event_wparam() {
    return g_wparam;
}
std::intptr_t event_lparam() {
    return g_lparam;
}
void set_message_prefilter(MessagePrefilter filter) {
    g_prefilter = filter;
}
