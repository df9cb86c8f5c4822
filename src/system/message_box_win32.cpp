// Message boxes, modal for the whole calling thread.
#include "system/message_box.h"

#include <string>
#include <vector>

#include "system/fatal_error.h"
#include "system/wide.h"
#include "system/win32.h"

namespace {

// One window the box changed, so that exactly that can be undone. The list is
// local to each call: a box opened while another is open (from a window
// procedure) must not undo what the outer box did.
struct AffectedWindow {
    HWND window;
    bool was_topmost;
    bool disabled_for_box;
};

void set_topmost(HWND window, bool topmost) {
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// The windows changed for one box; whatever way the call leaves, they get
// back what the box took from them.
struct Collection {
    HWND foreground;
    std::vector<AffectedWindow> windows;

    explicit Collection(HWND owner) : foreground(owner) {}
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;
    ~Collection() {
        for (const AffectedWindow& affected : windows) {
            if (!IsWindow(affected.window))
                continue;  // destroyed while the box was open
            if (affected.disabled_for_box)
                EnableWindow(affected.window, TRUE);
            if (affected.was_topmost)
                set_topmost(affected.window, true);
        }
    }
};

BOOL CALLBACK first_shown_window(HWND window, LPARAM found) noexcept {
    if (!IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The foreground window when it is this process's. A box disables its owner
// through the owner's thread: one of another thread that does not answer
// (blocked, as a thread is whose stack overflowed while its error is reported
// from a thread of its own) would keep the box from ever appearing.
// While another program is in front (a drop's box: the drag source is), the
// calling thread's own window stands in: without an owner, the platform hands
// the activation to another program's window when the box closes, and the
// user's window is left behind.
// While a fatal error is reported, another thread's window is never the owner:
// that thread may fail too once the box is up, and then waits for good, so
// the box could never give its owner back and close.
HWND owner_window() {
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    const DWORD thread = foreground ? GetWindowThreadProcessId(foreground, &process) : 0;
    if (process != GetCurrentProcessId()) {
        HWND own = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), first_shown_window, reinterpret_cast<LPARAM>(&own));
        return own;
    }
    if (thread == GetCurrentThreadId())
        return foreground;
    if (fatal_error_reporting())
        return nullptr;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(foreground, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 500, &answer))
        return nullptr;
    return foreground;
}

BOOL CALLBACK collect_window(HWND window, LPARAM parameter) noexcept {
    auto& collection = *reinterpret_cast<Collection*>(parameter);
    if (!IsWindowVisible(window))
        return TRUE;
    const bool topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    // The foreground window becomes the box's owner, which the box disables itself.
    const bool disable = IsWindowEnabled(window) && window != collection.foreground;
    if (!topmost && !disable)
        return TRUE;
    try {
        collection.windows.push_back({window, topmost, disable});
    } catch (...) {
        return FALSE;  // out of memory: leave the remaining windows as they are
    }
    if (disable)
        EnableWindow(window, FALSE);
    return TRUE;
}

}  // namespace

int message_box(std::u16string_view title, std::u16string_view text, std::uint32_t flags) {
    const std::u16string title_text(title);
    const std::u16string body_text(text);
    HWND owner = owner_window();

    Collection collection(owner);
    EnumThreadWindows(GetCurrentThreadId(), collect_window, reinterpret_cast<LPARAM>(&collection));
    // A topmost window of ours could hide the box.
    for (const AffectedWindow& affected : collection.windows) {
        if (affected.was_topmost)
            set_topmost(affected.window, false);
    }

    return MessageBoxW(owner, wide(body_text), wide(title_text), flags);
}
