// Measuring a control's text in its own font, for the kinds' required sizes.
#include <new>

#include "gadget/gadget_internal_win32.h"
#include "system/handles_win32.h"
#include "system/wide.h"

bool control_text(HWND control, std::u16string& text) {
    const int length = GetWindowTextLengthW(control);
    try {
        text.assign(static_cast<std::size_t>(length > 0 ? length : 0) + 1, u'\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int got = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return true;
}

bool measure_control_text(HWND control, TextMeasure how, GadgetSize& size) {
    size = {};
    std::u16string text;
    if (!control_text(control, text))
        return false;
    const int length = static_cast<int>(text.size());
    return measure_in_control_font(control, [&](HDC dc) {
        if (how == TextMeasure::OneLine) {
            SIZE extent{};
            GetTextExtentPoint32W(dc, wide(text), length, &extent);
            size = {extent.cx, extent.cy};
        } else {
            // The labels show '&' literally, so it is measured literally too.
            RECT r{0, 0, 0, 0};
            DrawTextW(dc, wide(text), length, &r, DT_CALCRECT | DT_NOPREFIX);
            size = {r.right - r.left, r.bottom - r.top};
        }
    });
}

GadgetSize system_edge() {
    return {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE)};
}
