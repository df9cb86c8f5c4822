// The scroll bar gadget: moves its own position on each scroll request and
// reports it; its range and page length are attributes.
#include "gadget/gadget_internal_win32.h"
#include "gadget/input_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kScrollBarStyle = WS_CHILD | WS_VISIBLE;
static_assert(PB_ScrollBar_Vertical == SBS_VERT);

SCROLLINFO scroll_info(HWND control) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(control, SB_CTL, &info);
    return info;
}

std::intptr_t scrollbar_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    if (message != WM_HSCROLL && message != WM_VSCROLL)
        return NOT_HANDLED;
    const HWND control = gadget_hwnd(g);
    const SCROLLINFO info = scroll_info(control);
    int position = info.nPos;
    switch (LOWORD(wparam)) {
        case SB_LINEUP:
            position -= 1;
            break;
        case SB_LINEDOWN:
            position += 1;
            break;
        case SB_PAGEUP:
            position -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            position += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            // The full 32-bit track position, not the message's 16 bits.
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = info.nMin;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
    }
    SetScrollPos(control, SB_CTL, position, TRUE);  // the control keeps it within its range
    post_gadget_event(control, ET_LEFT_CLICK);
    return 0;
}

std::int32_t scrollbar_get_state(GadgetObject& g) {
    return GetScrollPos(gadget_hwnd(g), SB_CTL);
}

void scrollbar_set_state(GadgetObject& g, std::int32_t state) {
    SetScrollPos(gadget_hwnd(g), SB_CTL, state, TRUE);
}

std::int32_t scrollbar_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const SCROLLINFO info = scroll_info(gadget_hwnd(g));
    switch (attribute) {
        case PB_ScrollBar_Minimum:
            return info.nMin;
        case PB_ScrollBar_Maximum:
            return info.nMax;
        case PB_ScrollBar_PageLength:
            return static_cast<std::int32_t>(info.nPage);
    }
    return 0;
}

void scrollbar_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    SCROLLINFO info = scroll_info(gadget_hwnd(g));
    switch (attribute) {
        case PB_ScrollBar_Minimum:
            info.nMin = value;
            break;
        case PB_ScrollBar_Maximum:
            info.nMax = value;
            break;
        case PB_ScrollBar_PageLength:
            info.nPage = value < 0 ? 0u : static_cast<UINT>(value);
            break;
        default:
            return;
    }
    info.fMask = SIF_RANGE | SIF_PAGE;
    SetScrollInfo(gadget_hwnd(g), SB_CTL, &info, TRUE);
}

// The system's thickness across the bar; along it the layout decides.
void scrollbar_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const bool vertical = GetWindowLongW(gadget_hwnd(g), GWL_STYLE) & SBS_VERT;
    width = vertical ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    height = vertical ? 0 : GetSystemMetrics(SM_CYHSCROLL);
}

constexpr GadgetKindTable kScrollBarKind{
    .kind = kKindScrollBar,
    .size = kGadgetKindTableSize,
    .notification_handler = scrollbar_notification,
    .get_state = scrollbar_get_state,
    .set_state = scrollbar_set_state,
    .get_attribute = scrollbar_get_attribute,
    .set_attribute = scrollbar_set_attribute,
    .required_size = scrollbar_required_size,
};

}  // namespace

std::intptr_t scrollbar_gadget(std::intptr_t id,
                               std::int32_t x,
                               std::int32_t y,
                               std::int32_t width,
                               std::int32_t height,
                               std::int32_t minimum,
                               std::int32_t maximum,
                               std::int32_t page_length,
                               std::uint32_t flags) {
    const DWORD style = flags | kScrollBarStyle;  // PB_ScrollBar_Vertical is SBS_VERT
    const HWND control = create_gadget_control(0, L"SCROLLBAR", u"", style, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = minimum;
    info.nMax = maximum;
    info.nPage = page_length < 0 ? 0u : static_cast<UINT>(page_length);
    info.nPos = minimum;
    SetScrollInfo(control, SB_CTL, &info, TRUE);
    return register_gadget(id, g, control, &kScrollBarKind);
}
