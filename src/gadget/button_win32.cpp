// The button gadget: a push button, or a toggle button whose state is its check state.
#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
static_assert(kButtonStyle == 0x50030000);
static_assert(PB_Button_Toggle == (BS_PUSHLIKE | BS_AUTOCHECKBOX));

std::int32_t button_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), BM_GETCHECK, 0, 0) & 1);
}

void button_set_state(GadgetObject& g, std::int32_t state) {
    SendMessageW(gadget_hwnd(g), BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

void button_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    required_size_from_text(g, TextMeasure::OneLine, width, height,
                            [](GadgetSize text) { return button_required_size(text, system_edge()); });
}

// No notification handler: clicks reach the window's own WM_COMMAND handling.
constexpr GadgetKindTable kButtonKind{
    .kind = kKindButton,
    .size = kGadgetKindTableSize,
    .get_state = button_get_state,
    .set_state = button_set_state,
    .required_size = button_required_size,
};

}  // namespace

std::intptr_t button_gadget(std::intptr_t id,
                            std::int32_t x,
                            std::int32_t y,
                            std::int32_t width,
                            std::int32_t height,
                            const char16_t* text,
                            std::uint32_t flags) {
    const HWND control =
        create_gadget_control(0, L"Button", text ? text : u"", flags | kButtonStyle, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    return register_gadget(id, g, control, &kButtonKind);
}
