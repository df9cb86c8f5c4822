// The checkbox gadget: a check box, or a three-state box whose clicks move
// between unchecked and checked while the third state is the program's.
#include "gadget/gadget_internal_win32.h"
#include "gadget/input_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kCheckBoxStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
static_assert(kCheckBoxStyle == 0x50030000);
static_assert(PB_CheckBox_ThreeState == BS_3STATE && PB_CheckBox_Right == BS_RIGHT && PB_CheckBox_Center == BS_CENTER);

bool three_state(std::uint32_t flags) {
    return (flags & PB_CheckBox_ThreeState) == PB_CheckBox_ThreeState;
}

std::intptr_t checkbox_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    // A plain three-state button does not change itself: the click does it here,
    // and the window's default path then reports it.
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED && g.back_colour == 1) {
        const HWND control = gadget_hwnd(g);
        const LRESULT was = SendMessageW(control, BM_GETCHECK, 0, 0);
        SendMessageW(control, BM_SETCHECK, was == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    return NOT_HANDLED;
}

std::int32_t checkbox_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), BM_GETCHECK, 0, 0));
}

void checkbox_set_state(GadgetObject& g, std::int32_t state) {
    // The in-between state only exists on a three-state box.
    WPARAM check = state == PB_Checkbox_Inbetween && g.back_colour == 1 ? BST_INDETERMINATE
                   : state                                              ? BST_CHECKED
                                                                        : BST_UNCHECKED;
    SendMessageW(gadget_hwnd(g), BM_SETCHECK, check, 0);
}

constexpr GadgetKindTable kCheckBoxKind{
    .kind = kKindCheckBox,
    .size = kGadgetKindTableSize,
    .notification_handler = checkbox_notification,
    .get_state = checkbox_get_state,
    .set_state = checkbox_set_state,
    .required_size = check_kind_required_size,
};

}  // namespace

std::intptr_t checkbox_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              const char16_t* text,
                              std::uint32_t flags) {
    const bool three = three_state(flags);
    const DWORD style = flags | kCheckBoxStyle | (three ? 0 : BS_AUTOCHECKBOX);
    const HWND control = create_gadget_control(0, L"Button", text ? text : u"", style, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = three ? 1 : 0;  // word 5: the three-state mark
    return register_gadget(id, g, control, &kCheckBoxKind);
}
