// Range and position messages of the progress control.
#include "gadget/progressbar_messages_win32.h"

#include <commctrl.h>

#include <cstdint>

std::int32_t progress_range_limit(HWND control, bool low) {
    return static_cast<std::int32_t>(SendMessageW(control, PBM_GETRANGE, low ? TRUE : FALSE, 0));
}

void progress_set_range(HWND control, std::int32_t low, std::int32_t high) {
    SendMessageW(control, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void progress_show_value(HWND control, std::int32_t low, std::int32_t high, std::int32_t value, bool post) {
    const auto deliver = [&](UINT message, WPARAM wparam, LPARAM lparam) {
        if (post)
            PostMessageW(control, message, wparam, lparam);
        else
            SendMessageW(control, message, wparam, lparam);
    };
    // Overshoot by one within a widened range, then set back: the themed bar
    // animates towards a higher position, but draws a lower one at once. At
    // the top of the 32-bit range there is no room to overshoot.
    if (high < INT32_MAX && value < INT32_MAX) {
        deliver(PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high + 1));
        deliver(PBM_SETPOS, static_cast<WPARAM>(value + 1), 0);
    }
    deliver(PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    deliver(PBM_SETPOS, static_cast<WPARAM>(value), 0);
}
