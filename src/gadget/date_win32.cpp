// The date gadget: a date picker whose display format comes from a mask, and
// which reports a change only when the date really changed.
#include <algorithm>

#include "gadget/gadget_internal_win32.h"
#include "gadget/picker_kinds.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kDateStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
static_assert(kDateStyle == 0x50010000);
static_assert(PB_Date_UpDown == DTS_UPDOWN && PB_Date_CheckBox == DTS_SHOWNONE);

// The last date seen lives in word 7: the kind keeps no brush there.
std::int32_t last_date(const GadgetObject& g) {
    return static_cast<std::int32_t>(g.word7);
}
void set_last_date(GadgetObject& g, std::int32_t date) {
    g.word7 = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(date));
}

std::int32_t read_date(HWND control) {
    SYSTEMTIME t{};
    if (SendMessageW(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID)
        return 0;
    return date_from_system_time(t);
}

std::intptr_t date_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t lparam) {
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lparam)->code != DTN_DATETIMECHANGE)
        return NOT_HANDLED;
    const std::int32_t now = read_date(gadget_hwnd(g));
    if (now != last_date(g)) {
        set_last_date(g, now);
        post_gadget_event(gadget_hwnd(g), ET_CHANGE);
    }
    return 0;
}

std::int32_t date_get_state(GadgetObject& g) {
    return read_date(gadget_hwnd(g));
}

void date_set_state(GadgetObject& g, std::int32_t state) {
    SYSTEMTIME t = system_time_from_date(state);
    SendMessageW(gadget_hwnd(g), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    set_last_date(g, read_date(gadget_hwnd(g)));
}

std::u16string date_get_text(GadgetObject& g) {
    std::u16string text;
    return control_text(gadget_hwnd(g), text) ? text : std::u16string();
}

void date_set_text(GadgetObject& g, const std::u16string& mask) {
    const std::u16string format = date_mask_to_format(mask);
    SendMessageW(gadget_hwnd(g), DTM_SETFORMATW, 0, mask.empty() ? 0 : reinterpret_cast<LPARAM>(wide(format)));
}

std::int32_t date_get_attribute(GadgetObject& g, std::int32_t attribute) {
    SYSTEMTIME range[2] = {};
    const auto limits =
        static_cast<DWORD>(SendMessageW(gadget_hwnd(g), DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    if (attribute == PB_Date_Minimum && (limits & GDTR_MIN))
        return date_from_system_time(range[0]);
    if (attribute == PB_Date_Maximum && (limits & GDTR_MAX))
        return date_from_system_time(range[1]);
    return 0;
}

void date_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    if (attribute != PB_Date_Minimum && attribute != PB_Date_Maximum)
        return;
    const HWND control = gadget_hwnd(g);
    SYSTEMTIME range[2] = {};
    auto limits = static_cast<DWORD>(SendMessageW(control, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    const DWORD flag = attribute == PB_Date_Minimum ? GDTR_MIN : GDTR_MAX;
    if (value == 0) {
        limits &= ~flag;
    } else {
        range[attribute == PB_Date_Minimum ? 0 : 1] = system_time_from_date(value);
        limits |= flag;
    }
    SendMessageW(control, DTM_SETRANGE, limits, reinterpret_cast<LPARAM>(range));
}

// The colours are those of the month calendar the field drops down.
void date_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    if (type != FRONT_COLOR && type != BACK_COLOR)
        return;
    (type == FRONT_COLOR ? g.front_colour : g.back_colour) = colour;
    const COLORREF value = colour == -1 ? GetSysColor(type == FRONT_COLOR ? COLOR_WINDOWTEXT : COLOR_WINDOW)
                                        : static_cast<COLORREF>(colour);
    SendMessageW(gadget_hwnd(g), DTM_SETMCCOLOR, type == FRONT_COLOR ? MCSC_TEXT : MCSC_MONTHBK, value);
}

void date_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const HWND control = gadget_hwnd(g);
    required_size_from_text(g, TextMeasure::OneLine, width, height, [control](GadgetSize text) {
        const GadgetSize edge = system_edge();
        const GadgetSize field = edit_required_size(line_height(control), edge);
        return GadgetSize{text.width + GetSystemMetrics(SM_CXVSCROLL) + 2 * edge.width + 10, field.height};
    });
}

constexpr GadgetKindTable kDateKind{
    .kind = kKindDate,
    .size = kGadgetKindTableSize,
    .notification_handler = date_notification,
    .get_state = date_get_state,
    .set_state = date_set_state,
    .get_text = date_get_text,
    .set_text = date_set_text,
    .get_attribute = date_get_attribute,
    .set_attribute = date_set_attribute,
    .set_colour = date_set_colour,
    .get_colour = common_get_colour,
    .required_size = date_required_size,
};

}  // namespace

std::intptr_t date_gadget(std::intptr_t id,
                          std::int32_t x,
                          std::int32_t y,
                          std::int32_t width,
                          std::int32_t height,
                          const char16_t* mask,
                          std::int32_t date,
                          std::uint32_t flags) {
    const HWND control =
        create_gadget_control(WS_EX_CLIENTEDGE, DATETIMEPICK_CLASSW, u"", flags | kDateStyle, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = -1;
    const std::intptr_t result = register_gadget(id, g, control, &kDateKind);
    if (mask && *mask)
        date_set_text(*g, mask);
    if (date != 0)
        date_set_state(*g, date);
    else
        set_last_date(*g, read_date(control));
    return result;
}
