// The string gadget: a one-line edit field with focus events and colours.
#include "gadget/gadget_internal_win32.h"
#include "gadget/input_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kStringStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL;
static_assert(kStringStyle == 0x50030080);
static_assert(PB_String_Password == ES_PASSWORD && PB_String_ReadOnly == ES_READONLY &&
              PB_String_Numeric == ES_NUMBER && PB_String_LowerCase == ES_LOWERCASE &&
              PB_String_UpperCase == ES_UPPERCASE);

WNDPROC g_edit_proc = nullptr;

std::intptr_t string_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    const auto dc = reinterpret_cast<HDC>(wparam);
    if (message == WM_CTLCOLOREDIT)
        return colour_answer(g, dc, COLOR_WINDOW);
    // A read-only field asks as a static one; a disabled field keeps the system's grey.
    if (message == WM_CTLCOLORSTATIC && IsWindowEnabled(gadget_hwnd(g)))
        return colour_answer(g, dc, COLOR_BTNFACE);
    return NOT_HANDLED;
}

std::int32_t string_get_attribute(GadgetObject& g, std::int32_t attribute) {
    if (attribute != PB_String_MaximumLength)
        return 0;
    return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), EM_GETLIMITTEXT, 0, 0));
}

void string_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    if (attribute == PB_String_MaximumLength)
        SendMessageW(gadget_hwnd(g), EM_SETLIMITTEXT, static_cast<WPARAM>(value < 0 ? 0 : value), 0);
}

void string_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const GadgetSize size = edit_required_size(line_height(gadget_hwnd(g)), system_edge());
    width = size.width;
    height = size.height;
}

// Edit notifications (EN_CHANGE is ET_CHANGE) take the window's default path.
constexpr GadgetKindTable kStringKind{
    .kind = kKindString,
    .size = kGadgetKindTableSize,
    .notification_handler = string_notification,
    .free_hook = common_free_hook,
    .get_attribute = string_get_attribute,
    .set_attribute = string_set_attribute,
    .set_colour = common_set_colour,
    .get_colour = common_get_colour,
    .required_size = string_required_size,
};

LRESULT CALLBACK string_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_SETFOCUS)
        post_gadget_event(control, ET_FOCUS);
    else if (message == WM_KILLFOCUS)
        post_gadget_event(control, ET_LOST_FOCUS);
    return CallWindowProcW(g_edit_proc, control, message, wparam, lparam);
}

}  // namespace

std::intptr_t string_gadget(std::intptr_t id,
                            std::int32_t x,
                            std::int32_t y,
                            std::int32_t width,
                            std::int32_t height,
                            const char16_t* text,
                            std::uint32_t flags) {
    const DWORD ex_style = (flags & PB_String_BorderLess) ? 0 : WS_EX_CLIENTEDGE;
    const HWND control =
        create_gadget_control(ex_style, L"Edit", text ? text : u"", flags | kStringStyle, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = -1;
    const auto class_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(string_proc)));
    if (!g_edit_proc)
        g_edit_proc = class_proc;
    return register_gadget(id, g, control, &kStringKind);
}
