// The IP address gadget: four number fields; its state is the address as one
// number and its text the dotted form.
#include <cwchar>

#include "gadget/gadget_internal_win32.h"
#include "gadget/picker_kinds.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kIpAddressStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
static_assert(kIpAddressStyle == 0x50010000);

// Focus codes become the gadget's focus events; other codes take the default path.
std::intptr_t ipaddress_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    if (message != WM_COMMAND)
        return NOT_HANDLED;
    if (HIWORD(wparam) == EN_SETFOCUS) {
        post_gadget_event(gadget_hwnd(g), ET_FOCUS);
        return 0;
    }
    if (HIWORD(wparam) == EN_KILLFOCUS) {
        post_gadget_event(gadget_hwnd(g), ET_LOST_FOCUS);
        return 0;
    }
    return NOT_HANDLED;
}

std::int32_t ipaddress_get_state(GadgetObject& g) {
    DWORD address = 0;
    SendMessageW(gadget_hwnd(g), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return static_cast<std::int32_t>(address);
}

void ipaddress_set_state(GadgetObject& g, std::int32_t state) {
    SendMessageW(gadget_hwnd(g), IPM_SETADDRESS, 0, static_cast<LPARAM>(static_cast<DWORD>(state)));
}

std::u16string ipaddress_get_text(GadgetObject& g) {
    const auto address = static_cast<DWORD>(ipaddress_get_state(g));
    wchar_t text[16];
    std::swprintf(text, 16, L"%u.%u.%u.%u", FIRST_IPADDRESS(address), SECOND_IPADDRESS(address),
                  THIRD_IPADDRESS(address), FOURTH_IPADDRESS(address));
    return from_wide(text);
}

// Four numbers 0 to 255 between dots; anything else clears the field.
void ipaddress_set_text(GadgetObject& g, const std::u16string& text) {
    DWORD parts[4] = {};
    int count = 0;
    bool digits = false, ok = true;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9' && count < 4) {
            parts[count] = parts[count] * 10 + static_cast<DWORD>(c - u'0');
            ok = ok && parts[count] <= 255;
            digits = true;
        } else if (c == u'.' && digits && count < 3) {
            ++count;
            digits = false;
        } else {
            ok = false;
        }
    }
    const HWND control = gadget_hwnd(g);
    if (!ok || count != 3 || !digits) {
        SendMessageW(control, IPM_CLEARADDRESS, 0, 0);
        return;
    }
    SendMessageW(control, IPM_SETADDRESS, 0,
                 static_cast<LPARAM>(MAKEIPADDRESS(parts[0], parts[1], parts[2], parts[3])));
}

void ipaddress_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const HWND control = gadget_hwnd(g);
    SIZE extent{};
    (void)measure_in_control_font(control, [&extent](HDC dc) {
        GetTextExtentPoint32W(dc, L"888.888.888.888", 15, &extent);
    });  // without a device context: the width of no text
    const GadgetSize field = edit_required_size(line_height(control), system_edge());
    width = extent.cx + field.width + 8;
    height = field.height;
}

constexpr GadgetKindTable kIpAddressKind{
    .kind = kKindIpAddress,
    .size = kGadgetKindTableSize,
    .notification_handler = ipaddress_notification,
    .get_state = ipaddress_get_state,
    .set_state = ipaddress_set_state,
    .get_text = ipaddress_get_text,
    .set_text = ipaddress_set_text,
    .required_size = ipaddress_required_size,
};

}  // namespace

std::intptr_t ipaddress_gadget(std::intptr_t id,
                               std::int32_t x,
                               std::int32_t y,
                               std::int32_t width,
                               std::int32_t height) {
    const HWND control = create_gadget_control(0, WC_IPADDRESSW, u"", kIpAddressStyle, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    return register_gadget(id, g, control, &kIpAddressKind);
}
