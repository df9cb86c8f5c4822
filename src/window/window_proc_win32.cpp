// The window procedure: platform messages become events of the event queue;
// control notifications go to the gadget core first.
#include <cstdint>

#include "window/event_queue.h"
#include "window/gadget_hooks.h"
#include "window/window.h"
#include "window/window_record_win32.h"

namespace {

constexpr UINT kIconNotification = 12501;
constexpr UINT kGadgetPrivateMessage = 13120;
constexpr LONG_PTR kMenuControlId = -10000;

// A callback run by queue_event may have closed the window.
bool still_open(std::intptr_t number, HWND hwnd) {
    Window* win = window_record(number);
    return win && win->handle == hwnd;
}

LRESULT on_size(Window* win, std::intptr_t number, HWND hwnd, WPARAM kind) {
    switch (kind) {
        case SIZE_MINIMIZED:
            win->minimized_or_maximized = true;
            queue_event(EV_MINIMIZE, 0, number, 0);
            return 0;
        case SIZE_MAXIMIZED:
            win->minimized_or_maximized = true;
            queue_event(EV_MAXIMIZE, 0, number, 0);
            if (still_open(number, hwnd))
                queue_event(EV_SIZE_WINDOW, 0, number, 0);
            return 0;
        case SIZE_RESTORED:
            if (win->minimized_or_maximized) {
                win->minimized_or_maximized = false;
                queue_event(EV_RESTORE, 0, number, 0);
                if (!still_open(number, hwnd))
                    return 0;
            }
            [[fallthrough]];
        default:
            // A drag-resize sends many sizes between moves: keep only the newest.
            remove_queued_events(EV_SIZE_WINDOW, 0, number, 0);
            queue_event(EV_SIZE_WINDOW, 0, number, 0);
            return 0;
    }
}

LRESULT on_activate(HWND hwnd, std::intptr_t number, WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) != WA_INACTIVE) {
        HWND saved = static_cast<HWND>(GetPropW(hwnd, kPropFocus));
        if (saved && IsWindow(saved) && IsChild(hwnd, saved))
            SetFocus(saved);
        else
            // Nothing to give the focus back to: the window itself takes the
            // keys, as the default handling does, so the keyboard still works.
            DefWindowProcW(hwnd, WM_ACTIVATE, wparam, lparam);
        // The focus events' callbacks may have closed the window, or opened
        // another under its number.
        if (still_open(number, hwnd))
            queue_event(EV_ACTIVATE, 0, number, 0);
    } else {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus))
            SetPropW(hwnd, kPropFocus, focus);
        else
            RemovePropW(hwnd, kPropFocus);
        show_focus_cues(hwnd, false);
        queue_event(EV_DEACTIVATE, 0, number, 0);
    }
    return 1;
}

LRESULT on_erase(Window* win, std::intptr_t number, HWND hwnd, HDC dc) {
    LRESULT result = NOT_HANDLED;
    if (win->background) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, win->background);
        result = 1;
    } else if (win->handle == hwnd && win->erase) {
        win->erase(dc, number, 16);
        result = 1;  // the default erase would paint over it
    }
    queue_event(EV_REPAINT, 0, number, 0);
    return result;
}

LRESULT on_min_max_info(Window* win, HWND hwnd, MINMAXINFO* info) {
    const SIZE frame = window_frame_size(hwnd);
    if (win->min_width)
        info->ptMinTrackSize.x = win->min_width + frame.cx;
    else if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        info->ptMinTrackSize.x = 1;
    if (win->min_height)
        info->ptMinTrackSize.y = win->min_height + frame.cy;
    if (win->max_width)
        info->ptMaxTrackSize.x = win->max_width + frame.cx;
    if (win->max_height)
        info->ptMaxTrackSize.y = win->max_height + frame.cy;
    return 0;
}

void on_command(HWND hwnd, std::intptr_t number, WPARAM wparam, LPARAM lparam) {
    const auto control = reinterpret_cast<HWND>(lparam);
    const WORD code = HIWORD(wparam);
    if (control) {
        // The full identifier: gadgets made with PB_Any carry their handle there.
        const LONG_PTR id = GetWindowLongPtrW(control, GWLP_ID);
        if (id == kMenuControlId)
            queue_event(EV_MENU, LOWORD(wparam), number, 0);
        else
            queue_event(EV_GADGET, id, number, code);
    } else if (code == 0) {
        queue_event(EV_MENU, static_cast<std::intptr_t>(wparam), number, 0);
    } else if (code == 1) {
        const WORD command = LOWORD(wparam);
        if (command == kCommandFocusNext || command == kCommandFocusPrevious)
            move_focus(hwnd, command == kCommandFocusNext);
        else
            queue_event(EV_MENU, command, number, 0);
    }
}

void on_icon_notification(HWND hwnd, std::intptr_t number, WPARAM wparam, LPARAM lparam) {
    int type = -1;
    switch (lparam) {
        case WM_LBUTTONDOWN:
            type = 0;
            break;
        case WM_RBUTTONDOWN:
            type = 1;
            break;
        case WM_LBUTTONDBLCLK:
            type = 2;
            break;
        case WM_RBUTTONDBLCLK:
            type = 3;
            break;
    }
    if (type >= 0)
        queue_event(EV_SYSTRAY, static_cast<std::intptr_t>(wparam), number, type);
    // Wakes a loop blocked in its wait so that it returns the event.
    PostMessageW(hwnd, WM_NULL, 0, 0);
}

BOOL CALLBACK send_sys_colour_change(HWND child, LPARAM) noexcept {
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

std::intptr_t window_translate_message(void* handle,
                                       unsigned message,
                                       std::uintptr_t wparam,
                                       std::intptr_t lparam) noexcept {
    const auto hwnd = static_cast<HWND>(handle);
    switch (message) {
        case WM_NOTIFY:
            if (!lparam)
                return NOT_HANDLED;
            return route_to_gadget(reinterpret_cast<NMHDR*>(lparam)->hwndFrom, hwnd, message, wparam, lparam);
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case kGadgetPrivateMessage:
            return route_to_gadget(reinterpret_cast<HWND>(lparam), hwnd, message, wparam, lparam);
        case WM_NCDESTROY:
            RemovePropW(hwnd, kPropFocus);
            return NOT_HANDLED;
    }

    std::intptr_t number;
    Window* win = find_window(hwnd, number);
    if (!win)
        return NOT_HANDLED;
    const bool self = win->handle == hwnd;

    switch (message) {
        case WM_MOVE:
            if (!self || !win->created)
                break;
            queue_event(EV_MOVE_WINDOW, number, number, 0);
            return 0;
        case WM_SIZE:
            if (!self)
                return 1;
            if (!win->created)
                break;
            return on_size(win, number, hwnd, wparam);
        case WM_ACTIVATE:
            return on_activate(hwnd, number, wparam, lparam);
        case WM_CLOSE:
            if (!self)
                break;
            // Closing is the program's decision: the window stays open.
            queue_event(EV_CLOSE_WINDOW, number, number, 0);
            return 0;
        case WM_ERASEBKGND:
            return on_erase(win, number, hwnd, reinterpret_cast<HDC>(wparam));
        case WM_SYSCOLORCHANGE:
            if (self)
                EnumChildWindows(hwnd, send_sys_colour_change, 0);
            break;
        case WM_GETMINMAXINFO:
            if (!self)
                break;
            return on_min_max_info(win, hwnd, reinterpret_cast<MINMAXINFO*>(lparam));
        case WM_COMMAND:
            if (lparam && route_to_gadget(reinterpret_cast<HWND>(lparam), hwnd, message, wparam, lparam) != NOT_HANDLED)
                return 0;
            on_command(hwnd, number, wparam, lparam);
            return 0;
        case WM_TIMER:
            queue_event(EV_TIMER, static_cast<std::intptr_t>(wparam), number, 0);
            break;
        case WM_LBUTTONUP:
            queue_event(EV_LEFT_CLICK, 0, number, 0);
            break;
        case WM_LBUTTONDBLCLK:
            queue_event(EV_LEFT_DOUBLE_CLICK, 0, number, 0);
            break;
        case WM_RBUTTONUP:
            queue_event(EV_RIGHT_CLICK, 0, number, 0);
            break;
        case kIconNotification:
            on_icon_notification(hwnd, number, wparam, lparam);
            return 0;
    }
    return NOT_HANDLED;
}

LRESULT CALLBACK window_class_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const std::size_t queued = queued_event_count();
    LRESULT result = window_translate_message(hwnd, message, wparam, lparam);
    if (result == NOT_HANDLED)
        result = DefWindowProcW(hwnd, message, wparam, lparam);
    // A message sent from another thread is handled inside the loop's blocking
    // wait, which would not return for the event it queued: wake it.
    if (queued_event_count() > queued && InSendMessage())
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    SetLastError(0);
    return result;
}
