// The calendar gadget: a month calendar that reports the user's choice of
// another day; days can be shown bold.
#include <algorithm>
#include <new>
#include <vector>

#include "gadget/gadget_internal_win32.h"
#include "gadget/picker_kinds.h"
#include "window/gadget_hooks.h"

namespace {

constexpr DWORD kCalendarStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | MCS_DAYSTATE;
static_assert((kCalendarStyle & ~MCS_DAYSTATE) == 0x50010000);

struct CalendarRecord {
    std::int32_t last = 0;           // the date last reported
    std::vector<std::int32_t> bold;  // days (date values at midnight) shown bold
};

CalendarRecord& calendar_of(GadgetObject& g) {
    return *static_cast<CalendarRecord*>(g.extension);
}

std::int32_t midnight(std::int32_t date) {
    DateFields f = date_fields(date);
    f.hour = f.minute = f.second = 0;
    return static_cast<std::int32_t>(date_value(f));
}

std::int32_t read_date(HWND control) {
    SYSTEMTIME t{};
    if (!SendMessageW(control, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&t)))
        return 0;
    t.wHour = t.wMinute = t.wSecond = t.wMilliseconds = 0;
    return date_from_system_time(t);
}

// The bold days of the months the control asks about.
void fill_day_states(CalendarRecord& c, NMDAYSTATE& request) {
    SYSTEMTIME month = request.stStart;
    for (int i = 0; i < request.cDayState; ++i) {
        MONTHDAYSTATE bits = 0;
        for (std::int32_t day : c.bold) {
            const DateFields f = date_fields(day);
            if (f.year == month.wYear && f.month == month.wMonth)
                bits |= 1u << (f.day - 1);
        }
        request.prgDayState[i] = bits;
        if (++month.wMonth > 12) {
            month.wMonth = 1;
            ++month.wYear;
        }
    }
}

std::intptr_t calendar_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t lparam) {
    if (message != WM_NOTIFY)
        return NOT_HANDLED;
    CalendarRecord& c = calendar_of(g);
    switch (reinterpret_cast<const NMHDR*>(lparam)->code) {
        case MCN_SELCHANGE: {
            const std::int32_t now = read_date(gadget_hwnd(g));
            if (now != c.last) {
                c.last = now;
                post_gadget_event(gadget_hwnd(g), ET_LEFT_CLICK);
            }
            return 0;
        }
        case MCN_GETDAYSTATE:
            fill_day_states(c, *reinterpret_cast<NMDAYSTATE*>(lparam));
            return 0;
    }
    return NOT_HANDLED;
}

void calendar_free(GadgetObject& g) {
    delete static_cast<CalendarRecord*>(g.extension);
    g.extension = nullptr;
}

std::int32_t calendar_get_state(GadgetObject& g) {
    return read_date(gadget_hwnd(g));
}

void calendar_set_state(GadgetObject& g, std::int32_t state) {
    SYSTEMTIME t = system_time_from_date(midnight(state));
    SendMessageW(gadget_hwnd(g), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&t));
    calendar_of(g).last = read_date(gadget_hwnd(g));
}

std::int32_t calendar_get_item_state(GadgetObject& g, std::int32_t item) {
    const std::vector<std::int32_t>& bold = calendar_of(g).bold;
    return std::find(bold.begin(), bold.end(), midnight(item)) != bold.end() ? PB_Calendar_Bold : PB_Calendar_Normal;
}

void calendar_set_item_state(GadgetObject& g, std::int32_t item, std::int32_t state) {
    std::vector<std::int32_t>& bold = calendar_of(g).bold;
    const std::int32_t day = midnight(item);
    std::erase(bold, day);
    if (state == PB_Calendar_Bold)
        bold.push_back(day);
    // The control asks again for the months it shows.
    const HWND control = gadget_hwnd(g);
    SYSTEMTIME shown = system_time_from_date(read_date(control));
    SendMessageW(control, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    InvalidateRect(control, nullptr, TRUE);
}

std::int32_t calendar_get_attribute(GadgetObject& g, std::int32_t attribute) {
    SYSTEMTIME range[2] = {};
    const auto limits =
        static_cast<DWORD>(SendMessageW(gadget_hwnd(g), MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    if (attribute == PB_Date_Minimum && (limits & GDTR_MIN))
        return date_from_system_time(range[0]);
    if (attribute == PB_Date_Maximum && (limits & GDTR_MAX))
        return date_from_system_time(range[1]);
    return 0;
}

void calendar_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    if (attribute != PB_Date_Minimum && attribute != PB_Date_Maximum)
        return;
    const HWND control = gadget_hwnd(g);
    SYSTEMTIME range[2] = {};
    auto limits = static_cast<DWORD>(SendMessageW(control, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    const DWORD flag = attribute == PB_Date_Minimum ? GDTR_MIN : GDTR_MAX;
    if (value == 0) {
        limits &= ~flag;
    } else {
        range[attribute == PB_Date_Minimum ? 0 : 1] = system_time_from_date(midnight(value));
        limits |= flag;
    }
    SendMessageW(control, MCM_SETRANGE, limits, reinterpret_cast<LPARAM>(range));
}

void calendar_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    if (type != FRONT_COLOR && type != BACK_COLOR)
        return;
    (type == FRONT_COLOR ? g.front_colour : g.back_colour) = colour;
    const COLORREF value = colour == -1 ? GetSysColor(type == FRONT_COLOR ? COLOR_WINDOWTEXT : COLOR_WINDOW)
                                        : static_cast<COLORREF>(colour);
    SendMessageW(gadget_hwnd(g), MCM_SETCOLOR, type == FRONT_COLOR ? MCSC_TEXT : MCSC_MONTHBK, value);
}

void calendar_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    RECT r{};
    SendMessageW(gadget_hwnd(g), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, 0, FALSE, static_cast<DWORD>(GetWindowLongW(gadget_hwnd(g), GWL_EXSTYLE)));
    width = r.right - r.left + frame.right - frame.left;
    height = r.bottom - r.top + frame.bottom - frame.top;
}

constexpr GadgetKindTable kCalendarKind{
    .kind = kKindCalendar,
    .size = kGadgetKindTableSize,
    .notification_handler = calendar_notification,
    .free_hook = calendar_free,
    .get_state = calendar_get_state,
    .set_state = calendar_set_state,
    .get_item_state = calendar_get_item_state,
    .set_item_state = calendar_set_item_state,
    .get_attribute = calendar_get_attribute,
    .set_attribute = calendar_set_attribute,
    .set_colour = calendar_set_colour,
    .get_colour = common_get_colour,
    .required_size = calendar_required_size,
};

}  // namespace

std::intptr_t calendar_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              std::int32_t date,
                              std::uint32_t flags) {
    auto* c = new (std::nothrow) CalendarRecord{};
    if (!c)
        return 0;
    const DWORD ex_style = flags & PB_Calendar_Borderless ? 0 : WS_EX_CLIENTEDGE;
    const DWORD style = (flags & ~PB_Calendar_Borderless) | kCalendarStyle;
    const HWND control = create_gadget_control(ex_style, MONTHCAL_CLASSW, u"", style, x, y, width, height);
    GadgetObject* g = allocate_gadget_with(id, control, c);
    if (!g)
        return 0;
    const std::intptr_t result = register_gadget(id, g, control, &kCalendarKind);
    if (date != 0)
        calendar_set_state(*g, date);
    else
        c->last = read_date(control);
    return result;
}
