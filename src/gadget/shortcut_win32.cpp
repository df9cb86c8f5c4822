// The shortcut gadget: a hot-key field that reports a new shortcut once it has
// a key (or is cleared), not while modifiers alone are held.
#include "gadget/gadget_internal_win32.h"
#include "gadget/picker_kinds.h"
#include "window/gadget_hooks.h"
#include "window/window_properties_win32.h"

namespace {

constexpr DWORD kShortcutStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
static_assert(kShortcutStyle == 0x50030000);
// kPropHotkey: the window's event loop leaves the keys of a focused control
// with it to the control (Tab included), so it is set for the control's whole life.

std::int32_t current(HWND control) {
    return static_cast<std::int32_t>(SendMessageW(control, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
}

// The hot-key control sends EN_CHANGE as it changes; it reaches the gadget
// here, and only a shortcut with a key, or none, is news.
std::intptr_t shortcut_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    if (message != WM_COMMAND)
        return NOT_HANDLED;
    if (HIWORD(wparam) == EN_CHANGE) {
        const HWND control = gadget_hwnd(g);
        const std::int32_t now = current(control);
        if (now != g.back_colour && ((now & 0xFF) != 0 || now == 0)) {
            g.back_colour = now;  // word 5: the shortcut last reported
            post_gadget_event(control, ET_LEFT_CLICK);
        }
    }
    return 0;
}

void shortcut_free(GadgetObject& g) {
    RemovePropW(gadget_hwnd(g), kPropHotkey);
}

std::int32_t shortcut_get_state(GadgetObject& g) {
    return current(gadget_hwnd(g));
}

void shortcut_set_state(GadgetObject& g, std::int32_t state) {
    const HWND control = gadget_hwnd(g);
    SendMessageW(control, HKM_SETHOTKEY, static_cast<WPARAM>(state & 0xFFFF), 0);
    g.back_colour = current(control);
}

void shortcut_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const GadgetSize field = edit_required_size(line_height(gadget_hwnd(g)), system_edge());
    width = field.width;
    height = field.height;
}

constexpr GadgetKindTable kShortcutKind{
    .kind = kKindShortcut,
    .size = kGadgetKindTableSize,
    .notification_handler = shortcut_notification,
    .free_hook = shortcut_free,
    .get_state = shortcut_get_state,
    .set_state = shortcut_set_state,
    .required_size = shortcut_required_size,
};

}  // namespace

std::intptr_t shortcut_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              std::int32_t shortcut) {
    const HWND control =
        create_gadget_control(WS_EX_CLIENTEDGE, HOTKEY_CLASSW, u"", kShortcutStyle, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    const std::intptr_t result = register_gadget(id, g, control, &kShortcutKind);
    SetPropW(control, kPropHotkey, reinterpret_cast<HANDLE>(1));
    shortcut_set_state(*g, shortcut);
    return result;
}
