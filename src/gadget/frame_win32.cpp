// The frame gadget: a group box with its text, or an empty static rectangle
// with the edge its flag names. It paints nothing inside, so gadgets placed
// over it stay visible.
#include "gadget/container_kinds.h"
#include "gadget/gadget_internal_win32.h"

namespace {

constexpr DWORD kGroupBoxStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX;
static_assert(kGroupBoxStyle == 0x50020007);
constexpr DWORD kRectangleStyle = WS_CHILD | WS_VISIBLE;

WNDPROC g_static_proc = nullptr;

// The area the frame covered is the parent's to repaint, before and after the move.
void frame_resize(GadgetObject& g, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    const HWND control = gadget_hwnd(g);
    const HWND parent = GetParent(control);
    RECT before = control_rect(control);
    gadget_default_resize(g, x, y, width, height);
    RECT after = control_rect(control);
    InvalidateRect(parent, &before, TRUE);
    InvalidateRect(parent, &after, TRUE);
}

constexpr GadgetKindTable kFrameKind{
    .kind = kKindFrame,
    .size = kGadgetKindTableSize,
    .resize = frame_resize,
};

// The rectangle frame draws its edge through the non-client area only.
LRESULT CALLBACK rectangle_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_PAINT) {
        ValidateRect(control, nullptr);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return CallWindowProcW(g_static_proc, control, message, wparam, lparam);
}

}  // namespace

std::intptr_t frame_gadget(std::intptr_t id,
                           std::int32_t x,
                           std::int32_t y,
                           std::int32_t width,
                           std::int32_t height,
                           const char16_t* text,
                           std::uint32_t flags) {
    const std::uint32_t edge = flags & 3;
    HWND control;
    if (edge == 0) {
        control = create_gadget_control(0, L"Button", text ? text : u"", kGroupBoxStyle, x, y, width, height);
    } else {
        const DWORD ex_style = edge == PB_Frame_Double   ? WS_EX_CLIENTEDGE
                               : edge == PB_Frame_Single ? WS_EX_STATICEDGE
                                                         : 0;
        const DWORD style = kRectangleStyle | (edge == PB_Frame_Flat ? WS_BORDER : 0);
        control = create_gadget_control(ex_style, L"Static", u"", style, x, y, width, height);
    }
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    if (edge != 0) {
        const auto class_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(rectangle_proc)));
        if (!g_static_proc)
            g_static_proc = class_proc;
    }
    return register_gadget(id, g, control, &kFrameKind);
}
