// The container gadget: a plain child window that holds gadgets, passes their
// notifications on like a top-level window and reports its own resizing.
#include "gadget/container_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "window/gadget_hooks.h"
#include "window/window.h"

namespace {

constexpr wchar_t kContainerClass[] = L"ZereVuzizared";
constexpr DWORD kContainerStyle = WS_CHILD | WS_VISIBLE;
static_assert(kContainerStyle == 0x50000000);
constexpr int kBrushByte = 0;  // the window bytes hold the back-colour brush

HBRUSH back_brush(HWND control) {
    return reinterpret_cast<HBRUSH>(GetWindowLongPtrW(control, kBrushByte));
}

void container_free(GadgetObject& g) {
    common_free_hook(g);
    SetWindowLongPtrW(gadget_hwnd(g), kBrushByte, 0);
}

std::intptr_t container_open_list(GadgetObject& g, std::int32_t) {
    return nest_gadget_list(g.handle) ? reinterpret_cast<std::intptr_t>(g.handle) : 0;
}

// Only the back colour is kept; the text colour has nothing to paint.
void container_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    if (type != BACK_COLOR)
        return;
    common_set_colour(g, type, colour);
    SetWindowLongPtrW(gadget_hwnd(g), kBrushByte, static_cast<LONG_PTR>(g.word7));
    InvalidateRect(gadget_hwnd(g), nullptr, TRUE);
}

std::int32_t container_get_colour(GadgetObject& g, std::int32_t type) {
    return type == BACK_COLOR ? static_cast<std::int32_t>(g.back_colour) : -1;
}

constexpr GadgetKindTable kContainerKind{
    .kind = kKindContainer,
    .size = kGadgetKindTableSize,
    .free_hook = container_free,
    .open_list = container_open_list,
    .set_colour = container_set_colour,
    .get_colour = container_get_colour,
};

LRESULT CALLBACK container_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    switch (message) {
        case WM_SIZE:
            // Forced: a splitter or layout that resized the container with
            // events suppressed must still hear of it.
            post_gadget_event_forced(hwnd, ET_LEFT_CLICK);
            post_gadget_event_forced(hwnd, ET_RESIZE);
            return 0;
        case WM_ERASEBKGND:
            if (HBRUSH brush = back_brush(hwnd)) {
                RECT r;
                GetClientRect(hwnd, &r);
                FillRect(reinterpret_cast<HDC>(wparam), &r, brush);
                return 1;
            }
            break;
        default: {
            const std::intptr_t result = window_translate_message(hwnd, message, wparam, lparam);
            if (result != NOT_HANDLED)
                return result;
        }
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

// Also the panes of a splitter and the inside of other holders: any window of
// this class passes its children's notifications on.
std::intptr_t container_gadget(std::intptr_t id,
                               std::int32_t x,
                               std::int32_t y,
                               std::int32_t width,
                               std::int32_t height,
                               std::uint32_t flags) {
    if (!register_kind_class(kContainerClass, container_proc, sizeof(LONG_PTR),
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return 0;
    DWORD style = kContainerStyle, ex_style = 0;
    if (flags & PB_Container_Flat)
        style |= WS_BORDER;
    if (flags & PB_Container_Raised)
        style |= WS_DLGFRAME;
    if (flags & PB_Container_Single)
        ex_style |= WS_EX_STATICEDGE;
    if (flags & PB_Container_Double)
        ex_style |= WS_EX_CLIENTEDGE;
    const HWND control = create_gadget_control(ex_style, kContainerClass, u"", style, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = -1;
    return nest_new_gadget_list(id, register_gadget(id, g, control, &kContainerKind), control);
}
