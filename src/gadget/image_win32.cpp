// The image gadget: a static picture that reports clicks, double clicks and
// drag starts; it shows its own copy of the image it is given.
#include <cstdlib>
#include <new>

#include "gadget/gadget_internal_win32.h"
#include "gadget/image_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kImageStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
static_assert(kImageStyle == 0x50000100);

struct ImageGadgetRecord {
    HANDLE picture = nullptr;
    bool icon = false;
    bool armed = false;  // a left press that may still become a drag
    POINT down{};
};

WNDPROC g_static_proc = nullptr;

ImageGadgetRecord* picture_of(GadgetObject& g) {
    return static_cast<ImageGadgetRecord*>(g.extension);
}

// The static control's own click notifications would reach the program as
// event types of the same numbers (a double click as a right click): the
// gadget reports its mouse actions itself.
std::intptr_t image_notification(GadgetObject&, void*, unsigned message, std::uintptr_t, std::intptr_t) {
    return message == WM_COMMAND ? 0 : NOT_HANDLED;
}

// Version 6 of the common controls keeps a copy of a bitmap with alpha and
// hands that copy back, not the bitmap it was given, when the picture is
// replaced: the copy is the program's to delete.
void delete_control_copy(HANDLE returned, const ImageGadgetRecord& r) {
    if (returned && returned != r.picture)
        delete_picture(returned, r.icon);
}

void image_free(GadgetObject& g) {
    if (ImageGadgetRecord* r = picture_of(g)) {
        delete_picture(r->picture, r->icon);
        delete r;
        g.extension = nullptr;
    }
}

std::int32_t image_get_state(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    const bool icon = picture_of(g)->icon;
    return static_cast<std::int32_t>(SendMessageW(control, STM_GETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, 0));
}

// The static control's type must match the picture; the size it is given stays.
void show(HWND control, ImageGadgetRecord& r, std::uintptr_t image) {
    bool icon = false;
    HANDLE copy = copy_picture(image, icon);
    RECT kept{};
    GetWindowRect(control, &kept);
    const LONG style = GetWindowLongW(control, GWL_STYLE) & ~SS_TYPEMASK;
    SetWindowLongW(control, GWL_STYLE, style | (icon ? SS_ICON : SS_BITMAP) | SS_CENTERIMAGE);
    delete_control_copy(reinterpret_cast<HANDLE>(SendMessageW(control, STM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP,
                                                              reinterpret_cast<LPARAM>(copy))),
                        r);
    SetWindowPos(control, nullptr, 0, 0, kept.right - kept.left, kept.bottom - kept.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    delete_picture(r.picture, r.icon);
    r.picture = copy;
    r.icon = icon;
    InvalidateRect(control, nullptr, TRUE);
}

void image_set_state(GadgetObject& g, std::int32_t state) {
    show(gadget_hwnd(g), *picture_of(g), static_cast<std::uintptr_t>(static_cast<std::uint32_t>(state)));
}

void image_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const ImageGadgetRecord& r = *picture_of(g);
    const GadgetSize size = picture_size(r.picture, r.icon);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(gadget_hwnd(g), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(gadget_hwnd(g), GWL_EXSTYLE)));
    width = size.width + frame.right - frame.left;
    height = size.height + frame.bottom - frame.top;
}

constexpr GadgetKindTable kImageKind{
    .kind = kKindImage,
    .size = kGadgetKindTableSize,
    .notification_handler = image_notification,
    .free_hook = image_free,
    .get_state = image_get_state,
    .set_state = image_set_state,
    .required_size = image_required_size,
};

LRESULT CALLBACK image_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    GadgetObject* g = gadget_of_control(control);
    ImageGadgetRecord* r = g ? picture_of(*g) : nullptr;
    if (r) {
        switch (message) {
            case WM_LBUTTONDOWN:
                r->armed = true;
                r->down = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
                SetCapture(control);
                break;
            case WM_MOUSEMOVE:
                if (r->armed &&
                    (std::abs(static_cast<short>(LOWORD(lparam)) - r->down.x) > GetSystemMetrics(SM_CXDRAG) ||
                     std::abs(static_cast<short>(HIWORD(lparam)) - r->down.y) > GetSystemMetrics(SM_CYDRAG))) {
                    r->armed = false;
                    ReleaseCapture();
                    post_gadget_event(control, ET_DRAG_START);
                }
                break;
            case WM_LBUTTONUP:
                if (r->armed) {
                    r->armed = false;
                    ReleaseCapture();
                    post_gadget_event(control, ET_LEFT_CLICK);
                }
                break;
            case WM_CAPTURECHANGED:
                if (reinterpret_cast<HWND>(lparam) != control)
                    r->armed = false;
                break;
            case WM_LBUTTONDBLCLK:
                post_gadget_event(control, ET_LEFT_DOUBLE_CLICK);
                break;
            case WM_RBUTTONUP:
                post_gadget_event(control, ET_RIGHT_CLICK);
                break;
            case WM_RBUTTONDBLCLK:
                post_gadget_event(control, ET_RIGHT_DOUBLE_CLICK);
                break;
            case WM_DESTROY:
                // Taken back while the control still stands, with any copy
                // of its own.
                delete_control_copy(reinterpret_cast<HANDLE>(CallWindowProcW(g_static_proc, control, STM_SETIMAGE,
                                                                             r->icon ? IMAGE_ICON : IMAGE_BITMAP, 0)),
                                    *r);
                break;
        }
    }
    return CallWindowProcW(g_static_proc, control, message, wparam, lparam);
}

}  // namespace

std::intptr_t image_gadget(std::intptr_t id,
                           std::int32_t x,
                           std::int32_t y,
                           std::int32_t width,
                           std::int32_t height,
                           std::uintptr_t image,
                           std::uint32_t flags) {
    auto* r = new (std::nothrow) ImageGadgetRecord{};
    if (!r)
        return 0;
    const DWORD ex_style = flags & PB_Image_Border ? WS_EX_CLIENTEDGE : 0;
    const DWORD style = kImageStyle | SS_BITMAP | SS_CENTERIMAGE | (flags & PB_Image_Raised ? WS_DLGFRAME : 0);
    const HWND control = create_gadget_control(ex_style, L"STATIC", u"", style, x, y, width, height);
    GadgetObject* g = control ? allocate_gadget(id, control) : nullptr;
    if (!g) {
        delete r;
        return 0;
    }
    g->extension = r;
    const auto class_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(image_proc)));
    if (!g_static_proc)
        g_static_proc = class_proc;
    const std::intptr_t result = register_gadget(id, g, control, &kImageKind);
    if (image)
        show(control, *r, image);
    return result;
}
