// The canvas gadget: a window that shows an off-screen image the program draws
// on and reports mouse, wheel, key and focus events of its own.
#include <new>

#include "gadget/gadget_internal_win32.h"
#include "gadget/image_kinds.h"
#include "system/handles_win32.h"
#include "window/gadget_hooks.h"
#include "window/window.h"
#include "window/window_properties_win32.h"

namespace {

constexpr wchar_t kCanvasClass[] = L"DiruZuzovi";
constexpr DWORD kCanvasStyle = WS_CHILD | WS_VISIBLE;

struct CanvasRecord {
    std::uint32_t flags = 0;
    UniqueHbitmap image;  // the off-screen image, the control's client size
    std::int32_t width = 0, height = 0;
    std::int32_t mouse_x = 0, mouse_y = 0, buttons = 0, wheel = 0, key = 0, input = 0;
    HCURSOR cursor = nullptr;
    bool inside = false;  // the mouse is over the canvas (leave is being tracked)
};

CanvasRecord* canvas_of(HWND control) {
    GadgetObject* g = gadget_of_control(control);
    return g ? static_cast<CanvasRecord*>(g->extension) : nullptr;
}

HBITMAP blank_image(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width > 0 ? width : 1;
    info.bmiHeader.biHeight = -(height > 0 ? height : 1);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// A new image for a new size, white, with the old drawing kept at the top left.
// When the image or a device context to copy with cannot be made, the old
// drawing stays shown at its size; the next resize tries again.
void fit_image(HWND control, CanvasRecord& c) {
    RECT client{};
    GetClientRect(control, &client);
    if (c.image && client.right == c.width && client.bottom == c.height)
        return;
    UniqueHbitmap image(blank_image(client.right, client.bottom));
    const UniqueMemoryDc to(CreateCompatibleDC(nullptr)), from(CreateCompatibleDC(nullptr));
    if (!image || !to || (c.image && !from))
        return;
    {
        const SelectedObject into(to.get(), image.get());
        RECT all{0, 0, client.right, client.bottom};
        FillRect(to.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (c.image) {
            const SelectedObject old_drawing(from.get(), c.image.get());
            BitBlt(to.get(), 0, 0, c.width, c.height, from.get(), 0, 0, SRCCOPY);
        }
    }
    c.image = std::move(image);  // the old one, deselected above, is deleted
    c.width = client.right;
    c.height = client.bottom;
}

void draw_image(HWND control, CanvasRecord& c, HDC dc) {
    if (c.image) {
        const UniqueMemoryDc from(CreateCompatibleDC(dc));
        const SelectedObject drawing(from.get(), c.image.get());
        BitBlt(dc, 0, 0, c.width, c.height, from.get(), 0, 0, SRCCOPY);
    }
    if ((c.flags & PB_Canvas_DrawFocus) && GetFocus() == control) {
        RECT client{};
        GetClientRect(control, &client);
        DrawFocusRect(dc, &client);
    }
}

void paint(HWND control, CanvasRecord& c) {
    const PaintDc dc(control);
    if (dc)
        draw_image(control, c, dc.get());
}

// Each event's callbacks run at once and may free the canvas: after a post or
// a focus change the record is looked up again (null: the canvas is gone).
CanvasRecord* note_mouse(HWND control, CanvasRecord& c, WPARAM keys, LPARAM where) {
    c.mouse_x = static_cast<short>(LOWORD(where));
    c.mouse_y = static_cast<short>(HIWORD(where));
    c.buttons = static_cast<std::int32_t>(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
    if (c.inside)
        return &c;
    c.inside = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
    TrackMouseEvent(&track);
    post_gadget_event(control, ET_MOUSE_ENTER);
    return canvas_of(control);
}

void press(HWND control, CanvasRecord* c, std::int32_t type) {
    if (c && (c->flags & PB_Canvas_Keyboard)) {
        SetFocus(control);
        c = canvas_of(control);
    }
    if (!c)
        return;
    SetCapture(control);
    if (c->flags & PB_Canvas_ClipMouse) {
        RECT r{};
        GetWindowRect(control, &r);
        ClipCursor(&r);
    }
    post_gadget_event(control, type);
}

void release(HWND control, CanvasRecord* c, std::int32_t type, std::int32_t click) {
    if (!c)
        return;
    if (!(c->buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        if (GetCapture() == control)
            ReleaseCapture();
        if (c->flags & PB_Canvas_ClipMouse)
            ClipCursor(nullptr);
    }
    post_gadget_event(control, type);
    if (click >= 0)
        post_gadget_event(control, click);  // nothing if the first one's callbacks freed it
}

LRESULT CALLBACK canvas_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    CanvasRecord* c = canvas_of(control);
    if (!c)
        return DefWindowProcW(control, message, wparam, lparam);
    switch (message) {
        case WM_PAINT:
            paint(control, *c);
            return 0;
        case WM_PRINTCLIENT:
            draw_image(control, *c, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            fit_image(control, *c);
            post_gadget_event_forced(control, ET_RESIZE);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            post_gadget_event(control, message == WM_SETFOCUS ? ET_FOCUS : ET_LOST_FOCUS);
            if ((c = canvas_of(control)) && (c->flags & PB_Canvas_DrawFocus))
                InvalidateRect(control, nullptr, FALSE);
            return 0;
        case WM_MOUSEMOVE:
            if (note_mouse(control, *c, wparam, lparam))
                post_gadget_event(control, ET_MOUSE_MOVE);
            return 0;
        case WM_MOUSELEAVE:
            c->inside = false;
            post_gadget_event(control, ET_MOUSE_LEAVE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            press(control, note_mouse(control, *c, wparam, lparam),
                  message == WM_LBUTTONDOWN   ? ET_LEFT_BUTTON_DOWN
                  : message == WM_RBUTTONDOWN ? ET_RIGHT_BUTTON_DOWN
                                              : ET_MIDDLE_BUTTON_DOWN);
            return 0;
        case WM_LBUTTONUP:
            release(control, note_mouse(control, *c, wparam, lparam), ET_LEFT_BUTTON_UP, ET_LEFT_CLICK);
            return 0;
        case WM_RBUTTONUP:
            release(control, note_mouse(control, *c, wparam, lparam), ET_RIGHT_BUTTON_UP, ET_RIGHT_CLICK);
            return 0;
        case WM_MBUTTONUP:
            release(control, note_mouse(control, *c, wparam, lparam), ET_MIDDLE_BUTTON_UP, -1);
            return 0;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            press(control, note_mouse(control, *c, wparam, lparam),
                  message == WM_LBUTTONDBLCLK ? ET_LEFT_BUTTON_DOWN : ET_RIGHT_BUTTON_DOWN);
            post_gadget_event(control, message == WM_LBUTTONDBLCLK ? ET_LEFT_DOUBLE_CLICK : ET_RIGHT_DOUBLE_CLICK);
            return 0;
        case WM_CAPTURECHANGED:
            if (c->flags & PB_Canvas_ClipMouse)
                ClipCursor(nullptr);
            return 0;
        case WM_MOUSEWHEEL:
            c->wheel = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
            post_gadget_event(control, ET_MOUSE_WHEEL);
            return 0;
        case WM_GETDLGCODE:
            return c->flags & PB_Canvas_Keyboard ? DLGC_WANTALLKEYS | DLGC_WANTCHARS : 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            c->key = static_cast<std::int32_t>(wparam);
            post_gadget_event(control, message == WM_KEYDOWN ? ET_KEY_DOWN : ET_KEY_UP);
            return 0;
        case WM_CHAR:
            c->input = static_cast<std::int32_t>(wparam);
            post_gadget_event(control, ET_INPUT);
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wparam) == control && LOWORD(lparam) == HTCLIENT && c->cursor) {
                SetCursor(c->cursor);
                return TRUE;
            }
            break;
    }
    // A container canvas passes its children's notifications on.
    if (c->flags & PB_Canvas_Container) {
        const std::intptr_t result = window_translate_message(control, message, wparam, lparam);
        if (result != NOT_HANDLED)
            return result;
    }
    return DefWindowProcW(control, message, wparam, lparam);
}

CanvasRecord& record(GadgetObject& g) {
    return *static_cast<CanvasRecord*>(g.extension);
}

void canvas_free(GadgetObject& g) {
    if (auto* c = static_cast<CanvasRecord*>(g.extension)) {
        if (GetCapture() == gadget_hwnd(g) && (c->flags & PB_Canvas_ClipMouse))
            ClipCursor(nullptr);
        delete c;
        g.extension = nullptr;
    }
    RemovePropW(gadget_hwnd(g), kPropGadget);
}

std::intptr_t canvas_open_list(GadgetObject& g, std::int32_t) {
    if (!(record(g).flags & PB_Canvas_Container) || !nest_gadget_list(g.handle))
        return 0;
    return reinterpret_cast<std::intptr_t>(g.handle);
}

std::int32_t canvas_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const CanvasRecord& c = record(g);
    switch (attribute) {
        case PB_Canvas_MouseX:
            return c.mouse_x;
        case PB_Canvas_MouseY:
            return c.mouse_y;
        case PB_Canvas_Buttons:
            return c.buttons;
        case PB_Canvas_WheelDelta:
            return c.wheel;
        case PB_Canvas_Key:
            return c.key;
        case PB_Canvas_Input:
            return c.input;
    }
    return 0;
}

void canvas_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    if (attribute == PB_Canvas_Cursor)
        record(g).cursor = value ? LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(value))) : nullptr;
}

void canvas_activate(GadgetObject& g) {
    if (record(g).flags & PB_Canvas_Keyboard)
        SetFocus(gadget_hwnd(g));
}

// The canvas's resize is the default; the image follows on WM_SIZE.
constexpr GadgetKindTable kCanvasKind{
    .kind = kKindCanvas,
    .size = kGadgetKindTableSize,
    .free_hook = canvas_free,
    .resize = gadget_default_resize,
    .open_list = canvas_open_list,
    .get_attribute = canvas_get_attribute,
    .set_attribute = canvas_set_attribute,
    .activate_hook = canvas_activate,
};

}  // namespace

std::intptr_t canvas_gadget(std::intptr_t id,
                            std::int32_t x,
                            std::int32_t y,
                            std::int32_t width,
                            std::int32_t height,
                            std::uint32_t flags) {
    if (!register_kind_class(kCanvasClass, canvas_proc, 0, nullptr))
        return 0;
    auto* c = new (std::nothrow) CanvasRecord{};
    if (!c)
        return 0;
    c->flags = flags;
    const DWORD ex_style = flags & PB_Canvas_Border ? WS_EX_CLIENTEDGE : 0;
    const DWORD style = kCanvasStyle | (flags & PB_Canvas_Keyboard ? WS_TABSTOP : 0) |
                        (flags & PB_Canvas_Container ? WS_CLIPCHILDREN : 0);
    const HWND control = create_gadget_control(ex_style, kCanvasClass, u"", style, x, y, width, height);
    GadgetObject* g = control ? allocate_gadget(id, control) : nullptr;
    if (!g) {
        delete c;
        return 0;
    }
    g->extension = c;
    fit_image(control, *c);
    if (!c->image) {
        abandon_gadget(id, g, control);
        delete c;
        return 0;
    }
    const std::intptr_t result = register_gadget(id, g, control, &kCanvasKind);
    const std::intptr_t gid = id == PB_Any ? result : id;
    SetPropW(control, kPropGadget, reinterpret_cast<HANDLE>(gid));
    return flags & PB_Canvas_Container ? nest_new_gadget_list(id, result, control) : result;
}

bool canvas_draw(std::intptr_t gadget, CanvasDrawRoutine draw, void* user) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || !draw || g->table->kind != kKindCanvas)
        return false;
    CanvasRecord& c = record(*g);
    {
        const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        if (!dc)
            return false;
        const SelectedObject drawing(dc.get(), c.image.get());
        draw(dc.get(), c.width, c.height, user);
    }
    InvalidateRect(gadget_hwnd(*g), nullptr, FALSE);
    return true;
}
