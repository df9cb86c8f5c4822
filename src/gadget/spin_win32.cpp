// The spin gadget: an edit field with an up-down control beside it. The pair
// moves, hides and measures as one; the arrows report their own event types.
#include <new>

#include "gadget/gadget_internal_win32.h"
#include "gadget/input_kinds.h"
#include "system/wide.h"
#include "window/event_queue.h"
#include "window/gadget_hooks.h"
#include "window/window.h"

namespace {

constexpr DWORD kSpinEditStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kUpDownStyle = WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

struct SpinRecord {
    HWND arrows = nullptr;
};

HWND arrows_of(GadgetObject& g) {
    return static_cast<SpinRecord*>(g.extension)->arrows;
}

int arrows_width() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

std::intptr_t spin_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wparam) == EN_CHANGE)
                post_gadget_event(gadget_hwnd(g), ET_CHANGE);
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lparam);
            if (header->code == UDN_DELTAPOS) {
                const auto* change = reinterpret_cast<const NMUPDOWN*>(lparam);
                post_gadget_event(gadget_hwnd(g), change->iDelta > 0 ? ET_SPIN_UP : ET_SPIN_DOWN);
            }
            return 0;
        }
        case WM_VSCROLL:
            return 0;
        case WM_CTLCOLOREDIT:
            return colour_answer(g, reinterpret_cast<HDC>(wparam), COLOR_WINDOW);
        case WM_CTLCOLORSTATIC:
            if (IsWindowEnabled(gadget_hwnd(g)))
                return colour_answer(g, reinterpret_cast<HDC>(wparam), COLOR_BTNFACE);
            break;
    }
    return NOT_HANDLED;
}

void spin_free(GadgetObject& g) {
    common_free_hook(g);
    if (auto* spin = static_cast<SpinRecord*>(g.extension)) {
        // The arrows are the edit's sibling: they do not go with it by themselves.
        if (spin->arrows && IsWindow(spin->arrows))
            DestroyWindow(spin->arrows);
        delete spin;
        g.extension = nullptr;
    }
}

std::int32_t spin_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(SendMessageW(arrows_of(g), UDM_GETPOS32, 0, 0));
}

void spin_set_state(GadgetObject& g, std::int32_t state) {
    SendMessageW(arrows_of(g), UDM_SETPOS32, 0, state);
}

void spin_set_text(GadgetObject& g, const std::u16string& text) {
    SetWindowTextW(gadget_hwnd(g), wide(text));
}

void spin_resize(GadgetObject& g, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    const HWND edit = gadget_hwnd(g);
    const HWND arrows = arrows_of(g);
    const RECT r = control_rect(edit);
    const int arrow_width = arrows_width();
    if (x == kIgnore)
        x = r.left;
    if (y == kIgnore)
        y = r.top;
    if (width == kIgnore)
        width = r.right - r.left + arrow_width;
    if (height == kIgnore)
        height = r.bottom - r.top;
    const int edit_width = width > arrow_width ? width - arrow_width : 0;
    MoveWindow(edit, x, y, edit_width, height, TRUE);
    MoveWindow(arrows, x + edit_width, y, width - edit_width, height, TRUE);
}

std::int32_t spin_width(GadgetObject& g) {
    const RECT r = control_rect(gadget_hwnd(g));
    return r.right - r.left + arrows_width();
}

void spin_hide(GadgetObject& g, std::int32_t state) {
    const int show = state ? SW_HIDE : SW_SHOW;
    ShowWindow(gadget_hwnd(g), show);
    ShowWindow(arrows_of(g), show);
}

std::int32_t spin_get_attribute(GadgetObject& g, std::int32_t attribute) {
    int low = 0, high = 0;
    SendMessageW(arrows_of(g), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    return attribute == PB_Spin_Minimum ? low : attribute == PB_Spin_Maximum ? high : 0;
}

void spin_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    int low = 0, high = 0;
    const HWND arrows = arrows_of(g);
    SendMessageW(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    if (attribute == PB_Spin_Minimum)
        low = value;
    else if (attribute == PB_Spin_Maximum)
        high = value;
    else
        return;
    SendMessageW(arrows, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
}

void spin_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const GadgetSize size = edit_required_size(line_height(gadget_hwnd(g)), system_edge());
    width = size.width + arrows_width();
    height = size.height;
}

constexpr GadgetKindTable kSpinKind{
    .kind = kKindSpin,
    .size = kGadgetKindTableSize,
    .notification_handler = spin_notification,
    .free_hook = spin_free,
    .get_state = spin_get_state,
    .set_state = spin_set_state,
    .set_text = spin_set_text,
    .resize = spin_resize,
    .width = spin_width,
    .hide = spin_hide,
    .get_attribute = spin_get_attribute,
    .set_attribute = spin_set_attribute,
    .set_colour = common_set_colour,
    .get_colour = common_get_colour,
    .required_size = spin_required_size,
};

}  // namespace

std::intptr_t spin_gadget(std::intptr_t id,
                          std::int32_t x,
                          std::int32_t y,
                          std::int32_t width,
                          std::int32_t height,
                          std::int32_t minimum,
                          std::int32_t maximum,
                          std::uint32_t flags) {
    auto* spin = new (std::nothrow) SpinRecord{};
    if (!spin)
        return 0;
    const bool numeric = flags & PB_Spin_Numeric;
    const DWORD edit_style = kSpinEditStyle | (flags & PB_Spin_ReadOnly ? ES_READONLY : 0) | (numeric ? ES_NUMBER : 0);
    const int arrow_width = arrows_width();
    const int edit_width = width > arrow_width ? width - arrow_width : 0;
    const HWND edit = create_gadget_control(WS_EX_CLIENTEDGE, L"EDIT", u"", edit_style, x, y, edit_width, height);
    if (!edit) {
        delete spin;
        return 0;
    }
    spin->arrows =
        CreateWindowExW(0, UPDOWN_CLASSW, L"", kUpDownStyle | (numeric ? UDS_SETBUDDYINT : 0), x + edit_width, y,
                        width - edit_width, height, GetParent(edit), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!spin->arrows) {
        DestroyWindow(edit);
        delete spin;
        return 0;
    }
    GadgetObject* g = allocate_gadget(id, edit);
    if (!g) {
        DestroyWindow(spin->arrows);
        delete spin;
        return 0;
    }
    g->back_colour = -1;
    g->front_colour = -1;
    g->extension = spin;
    set_helper_control(spin->arrows, edit);
    const std::intptr_t result = register_gadget(id, g, edit, &kSpinKind);
    // The first value writes the field's text: no change event for that.
    EventSuppression quiet;
    SendMessageW(spin->arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageW(spin->arrows, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    SendMessageW(spin->arrows, UDM_SETPOS32, 0, minimum);
    return result;
}
