// Moving the keyboard focus with Tab / Shift+Tab among a window's tab stops,
// and showing or hiding its focus cues.
#include <algorithm>
#include <vector>

#include "system/out_of_memory.h"
#include "window/window_record_win32.h"

namespace {

BOOL CALLBACK collect_tab_stop(HWND child, LPARAM list) noexcept {
    if ((GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(child) && IsWindowVisible(child)) {
        try {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        } catch (...) {
            out_of_memory();  // nothing may unwind through the system's frames
        }
    }
    return TRUE;
}

}  // namespace

void move_focus(HWND top, bool forward) {
    std::vector<HWND> stops;
    EnumChildWindows(top, collect_tab_stop, reinterpret_cast<LPARAM>(&stops));
    if (stops.empty())
        return;

    // The focus owner is the nearest tab stop enclosing the focus: the edit
    // inside a combo box or an IP-address field stands for its control.
    auto owner = stops.end();
    for (HWND h = GetFocus(); h && h != top && owner == stops.end(); h = GetParent(h))
        owner = std::find(stops.begin(), stops.end(), h);

    HWND next;
    if (owner == stops.end()) {
        next = forward ? stops.front() : stops.back();
    } else {
        const std::size_t i = static_cast<std::size_t>(owner - stops.begin());
        next = stops[forward ? (i + 1) % stops.size() : (i + stops.size() - 1) % stops.size()];
    }
    SetFocus(next);
    // An edit field entered from the keyboard has its text selected, as in dialogs.
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(next, EM_SETSEL, 0, -1);
}

void show_focus_cues(HWND top, bool show) {
    const auto state = static_cast<UINT>(SendMessageW(top, WM_QUERYUISTATE, 0, 0));
    constexpr UINT both = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    if (show) {
        if (state & both)
            SendMessageW(top, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, both), 0);
    } else if ((state & both) != both) {
        SendMessageW(top, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, both), 0);
    }
}
