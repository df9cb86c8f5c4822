// The text gadget: a static label with optional client edge; reports no events.
#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX;
static_assert(kTextStyle == 0x50020080);
static_assert(((PB_Text_Border >> 8) & 0x200) == WS_EX_CLIENTEDGE);

std::intptr_t text_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    if (message == WM_CTLCOLORSTATIC)
        return colour_answer(g, reinterpret_cast<HDC>(wparam), COLOR_BTNFACE);
    return NOT_HANDLED;
}

void text_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const bool edge = GetWindowLongW(gadget_hwnd(g), GWL_EXSTYLE) & WS_EX_CLIENTEDGE;
    required_size_from_text(g, TextMeasure::Block, width, height,
                            [edge](GadgetSize text) { return text_required_size(text, edge, system_edge()); });
}

// Text is set by the default (SetWindowTextW).
constexpr GadgetKindTable kTextKind{
    .kind = kKindText,
    .size = kGadgetKindTableSize,
    .notification_handler = text_notification,
    .free_hook = common_free_hook,
    .set_colour = common_set_colour,
    .get_colour = common_get_colour,
    .required_size = text_required_size,
};

}  // namespace

std::intptr_t text_gadget(std::intptr_t id,
                          std::int32_t x,
                          std::int32_t y,
                          std::int32_t width,
                          std::int32_t height,
                          const char16_t* text,
                          std::uint32_t flags) {
    const DWORD ex_style = (flags >> 8) & WS_EX_CLIENTEDGE;
    const HWND control =
        create_gadget_control(ex_style, L"Static", text ? text : u"", flags | kTextStyle, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = -1;
    return register_gadget(id, g, control, &kTextKind);
}
