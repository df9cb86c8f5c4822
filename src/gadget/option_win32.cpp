// The option gadget: a radio button; options created one right after another
// share a group, so a click moves the selection within that run only.
#include "gadget/gadget_internal_win32.h"
#include "gadget/input_kinds.h"

namespace {

constexpr DWORD kOptionStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
static_assert(kOptionStyle == 0x50010009);

std::int32_t option_get_state(GadgetObject& g) {
    return SendMessageW(gadget_hwnd(g), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void option_set_state(GadgetObject& g, std::int32_t state) {
    SendMessageW(gadget_hwnd(g), BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Clicks take the window's default path (BN_CLICKED is ET_LEFT_CLICK).
constexpr GadgetKindTable kOptionKind{
    .kind = kKindOption,
    .size = kGadgetKindTableSize,
    .get_state = option_get_state,
    .set_state = option_set_state,
    .required_size = check_kind_required_size,
};

}  // namespace

std::intptr_t option_gadget(std::intptr_t id,
                            std::int32_t x,
                            std::int32_t y,
                            std::int32_t width,
                            std::int32_t height,
                            const char16_t* text) {
    GadgetLibraryState& state = gadget_library_state();
    // The first option after any other gadget opens a new group.
    const DWORD style = kOptionStyle | (state.option_run ? 0 : WS_GROUP);
    const HWND control = create_gadget_control(0, L"Button", text ? text : u"", style, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    const std::intptr_t result = register_gadget(id, g, control, &kOptionKind);
    state.option_run = true;
    return result;
}
