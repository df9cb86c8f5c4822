// The track bar gadget: a slider over a range of whole numbers that reports
// every move.
#include "gadget/gadget_internal_win32.h"
#include "gadget/input_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kTrackBarStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
static_assert(kTrackBarStyle == 0x50010000);
static_assert(PB_TrackBar_Ticks == TBS_AUTOTICKS && PB_TrackBar_Vertical == TBS_VERT);

// The range starts at 0 at the lowest.
LPARAM limit(std::int32_t value) {
    return value < 0 ? 0 : value;
}

std::intptr_t trackbar_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t) {
    if (message != WM_HSCROLL && message != WM_VSCROLL)
        return NOT_HANDLED;
    post_gadget_event(gadget_hwnd(g), ET_LEFT_CLICK);
    return 0;
}

std::int32_t trackbar_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), TBM_GETPOS, 0, 0));
}

void trackbar_set_state(GadgetObject& g, std::int32_t state) {
    SendMessageW(gadget_hwnd(g), TBM_SETPOS, TRUE, state);
}

std::int32_t trackbar_get_attribute(GadgetObject& g, std::int32_t attribute) {
    if (attribute == PB_TrackBar_Minimum)
        return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), TBM_GETRANGEMIN, 0, 0));
    if (attribute == PB_TrackBar_Maximum)
        return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), TBM_GETRANGEMAX, 0, 0));
    return 0;
}

void trackbar_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    if (attribute == PB_TrackBar_Minimum)
        SendMessageW(gadget_hwnd(g), TBM_SETRANGEMIN, TRUE, limit(value));
    else if (attribute == PB_TrackBar_Maximum)
        SendMessageW(gadget_hwnd(g), TBM_SETRANGEMAX, TRUE, limit(value));
}

constexpr GadgetKindTable kTrackBarKind{
    .kind = kKindTrackBar,
    .size = kGadgetKindTableSize,
    .notification_handler = trackbar_notification,
    .get_state = trackbar_get_state,
    .set_state = trackbar_set_state,
    .get_attribute = trackbar_get_attribute,
    .set_attribute = trackbar_set_attribute,
};

}  // namespace

std::intptr_t trackbar_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              std::int32_t minimum,
                              std::int32_t maximum,
                              std::uint32_t flags) {
    const DWORD style = flags | kTrackBarStyle;
    const HWND control = create_gadget_control(0, TRACKBAR_CLASSW, u"", style, x, y, width, height, 0);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    SendMessageW(control, TBM_SETRANGEMIN, FALSE, limit(minimum));
    SendMessageW(control, TBM_SETRANGEMAX, TRUE, limit(maximum));
    return register_gadget(id, g, control, &kTrackBarKind);
}
