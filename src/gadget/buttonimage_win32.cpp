// The button image gadget: a push or toggle button showing an image, and for
// a toggle button optionally another image while it is down.
#include <new>

#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"
#include "gadget/image_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kButtonImageStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
static_assert(kButtonImageStyle == 0x50010000);

struct Picture {
    HANDLE handle = nullptr;
    bool icon = false;
};

struct ButtonImageRecord {
    Picture normal, pressed;
};

ButtonImageRecord& pictures_of(GadgetObject& g) {
    return *static_cast<ButtonImageRecord*>(g.extension);
}

bool is_toggle(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & PB_Button_Toggle) == PB_Button_Toggle;
}

// The picture for the button's state goes on it, with the style its type needs.
void show_current(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    const ButtonImageRecord& r = pictures_of(g);
    const bool down = is_toggle(control) && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const Picture& p = down && r.pressed.handle ? r.pressed : r.normal;
    const LONG style = GetWindowLongW(control, GWL_STYLE) & ~(BS_BITMAP | BS_ICON);
    SetWindowLongW(control, GWL_STYLE, style | (p.icon ? BS_ICON : BS_BITMAP));
    SendMessageW(control, BM_SETIMAGE, p.icon ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(p.handle));
    InvalidateRect(control, nullptr, TRUE);
}

void replace(Picture& p, std::uintptr_t image) {
    bool icon = false;
    HANDLE copy = copy_picture(image, icon);
    delete_picture(p.handle, p.icon);
    p = {copy, icon};
}

std::intptr_t buttonimage_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    // A toggle changes its picture with its state, then the click takes the default path.
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED && pictures_of(g).pressed.handle)
        show_current(g);
    return NOT_HANDLED;
}

void buttonimage_free(GadgetObject& g) {
    if (auto* r = static_cast<ButtonImageRecord*>(g.extension)) {
        delete_picture(r->normal.handle, r->normal.icon);
        delete_picture(r->pressed.handle, r->pressed.icon);
        delete r;
        g.extension = nullptr;
    }
}

std::int32_t buttonimage_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), BM_GETCHECK, 0, 0) & 1);
}

void buttonimage_set_state(GadgetObject& g, std::int32_t state) {
    SendMessageW(gadget_hwnd(g), BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
    show_current(g);
}

std::int32_t buttonimage_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const ButtonImageRecord& r = pictures_of(g);
    if (attribute == PB_Button_Image)
        return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(r.normal.handle));
    if (attribute == PB_Button_PressedImage)
        return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(r.pressed.handle));
    return 0;
}

void buttonimage_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    const auto image = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(value));
    if (attribute == PB_Button_Image)
        replace(pictures_of(g).normal, image);
    else if (attribute == PB_Button_PressedImage)
        replace(pictures_of(g).pressed, image);
    else
        return;
    show_current(g);
}

void buttonimage_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const Picture& p = pictures_of(g).normal;
    const GadgetSize size = picture_size(p.handle, p.icon);
    const GadgetSize edge = system_edge();
    width = size.width + 2 * edge.width + 6;
    height = size.height + 2 * edge.height + 6;
}

constexpr GadgetKindTable kButtonImageKind{
    .kind = kKindButtonImage,
    .size = kGadgetKindTableSize,
    .notification_handler = buttonimage_notification,
    .free_hook = buttonimage_free,
    .get_state = buttonimage_get_state,
    .set_state = buttonimage_set_state,
    .get_attribute = buttonimage_get_attribute,
    .set_attribute = buttonimage_set_attribute,
    .required_size = buttonimage_required_size,
};

}  // namespace

std::intptr_t buttonimage_gadget(std::intptr_t id,
                                 std::int32_t x,
                                 std::int32_t y,
                                 std::int32_t width,
                                 std::int32_t height,
                                 std::uintptr_t image,
                                 std::uint32_t flags) {
    auto* r = new (std::nothrow) ButtonImageRecord{};
    if (!r)
        return 0;
    const HWND control = create_gadget_control(0, L"BUTTON", u"", flags | kButtonImageStyle, x, y, width, height);
    GadgetObject* g = control ? allocate_gadget(id, control) : nullptr;
    if (!g) {
        delete r;
        return 0;
    }
    g->extension = r;
    const std::intptr_t result = register_gadget(id, g, control, &kButtonImageKind);
    replace(r->normal, image);
    show_current(*g);
    return result;
}
