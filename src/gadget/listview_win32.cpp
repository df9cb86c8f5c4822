// The list view gadget: a list box of text lines with single or multiple
// selection, reporting clicks, double clicks, right clicks and drag starts.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"
#include "window/window_properties_win32.h"

namespace {

constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_GROUP | WS_TABSTOP |
                             LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_NOTIFY;
static_assert(kListStyle == 0x50330141);
constexpr LONG kMultiSelection = LBS_EXTENDEDSEL | LBS_MULTIPLESEL;
static_assert(kMultiSelection == (PB_ListView_MultiSelect | PB_ListView_ClickSelect));

WNDPROC g_listbox_proc = nullptr;
int g_drag_x = 0, g_drag_y = 0;
// The list whose press may still become a drag. Kept beside PB_MouseDown
// because a press at (0, 0) packs to 0, which a property cannot tell from none.
HWND g_armed = nullptr;

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

bool multi_selection(HWND control) {
    return GetWindowLongW(control, GWL_STYLE) & kMultiSelection;
}

// What a click reports, in short: enough to tell whether the selection moved.
using SelectionMark = std::array<LRESULT, 3>;

SelectionMark selection_mark(HWND control) {
    if (multi_selection(control))
        return {send(control, LB_GETSELCOUNT), send(control, LB_GETCARETINDEX), send(control, LB_GETANCHORINDEX)};
    return {send(control, LB_GETCURSEL), 0, 0};
}

// The user's action in progress on a list: a key, or a press from the button
// going down until its release has been handled. The list box reports
// LBN_SELCHANGE more than once for one action (on the press and again on the
// release; twice for an arrow key in extended selection) and the drag
// detection reports the release as a click too, while the event queue runs
// bound callbacks even for an event it merges: one action is one click, and
// one more at its end if the selection moved on since (a press dragged over
// more rows), so that the last click reported shows the final selection.
struct ListAction {
    HWND control = nullptr;
    bool clicked = false;
    SelectionMark reported{};
};
ListAction g_action;

void post_click_once(HWND control) {
    if (g_action.control == control) {
        if (g_action.clicked)
            return;
        g_action.clicked = true;
    }
    post_gadget_event(control, ET_LEFT_CLICK);
    // After the callbacks: a selection they set is not the user's.
    if (g_action.control == control && IsWindow(control))
        g_action.reported = selection_mark(control);
}

void end_action(HWND control) {
    if (g_action.control != control)
        return;
    const ListAction done = g_action;
    g_action = {};
    if (done.clicked && IsWindow(control) && selection_mark(control) != done.reported)
        post_gadget_event(control, ET_LEFT_CLICK);
}

std::intptr_t listview_notification(GadgetObject& g,
                                    void*,
                                    unsigned message,
                                    std::uintptr_t wparam,
                                    std::intptr_t lparam) {
    if (message == WM_COMMAND) {
        const auto control = reinterpret_cast<HWND>(lparam);
        switch (HIWORD(wparam)) {
            case LBN_DBLCLK:
                post_gadget_event(control, ET_LEFT_DOUBLE_CLICK);
                break;
            case LBN_SELCHANGE:
                post_click_once(control);
                break;
        }
        return 0;
    }
    if (message == WM_CTLCOLORLISTBOX)
        return colour_answer(g, reinterpret_cast<HDC>(wparam), COLOR_WINDOW);
    return NOT_HANDLED;
}

std::u16string item_text(HWND control, std::int32_t item) {
    const LRESULT length = send(control, LB_GETTEXTLEN, static_cast<WPARAM>(item));
    if (length == LB_ERR)
        return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT got = send(control, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

std::int32_t listview_get_state(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    if (multi_selection(control)) {
        int first = -1;
        return send(control, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) == 1 ? first : -1;
    }
    return static_cast<std::int32_t>(send(control, LB_GETCURSEL));
}

void listview_set_state(GadgetObject& g, std::int32_t state) {
    const HWND control = gadget_hwnd(g);
    if (multi_selection(control)) {
        // Every row at once: a range of one row (a list of one item) would
        // select that row instead.
        send(control, LB_SETSEL, FALSE, -1);
        if (state != -1)
            send(control, LB_SETSEL, TRUE, state);
        return;
    }
    send(control, LB_SETCURSEL, static_cast<WPARAM>(state));
}

std::u16string listview_get_text(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    return item_text(control, static_cast<std::int32_t>(send(control, LB_GETCURSEL)));
}

void listview_set_text(GadgetObject& g, const std::u16string& text) {
    const HWND control = gadget_hwnd(g);
    const LRESULT position =
        send(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide(text)));
    if (multi_selection(control)) {
        // LB_SETSEL with -1 would select every item for a text found nowhere.
        if (position != LB_ERR)
            send(control, LB_SETSEL, TRUE, position);
        return;
    }
    send(control, LB_SETCURSEL, static_cast<WPARAM>(position));
}

// The list's style has a horizontal scroll bar, which a list box shows only
// for an extent set wider than its client area: set to the widest text added,
// long items (deep paths) can be scrolled to instead of being cut off. The
// widest text is taken among the longest few, so that a batch of thousands
// costs a few measurements; the room of one average letter covers the rest.
void widen_for(HWND control, std::span<const char16_t* const> texts) {
    constexpr std::size_t kMeasured = 32;
    std::vector<std::pair<std::size_t, const char16_t*>> longest;
    longest.reserve(texts.size());
    for (const char16_t* text : texts)
        if (text)
            longest.emplace_back(std::char_traits<char16_t>::length(text), text);
    const auto measured = longest.begin() + static_cast<std::ptrdiff_t>(std::min(kMeasured, longest.size()));
    std::partial_sort(longest.begin(), measured, longest.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    LONG widest = 0;
    const bool in_font = measure_in_control_font(control, [&](HDC dc) {
        for (auto it = longest.begin(); it != measured; ++it) {
            SIZE size{};
            if (GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(it->second), static_cast<int>(it->first),
                                      &size))
                widest = std::max(widest, size.cx);
        }
        TEXTMETRICW metrics{};
        if (widest > 0 && GetTextMetricsW(dc, &metrics))
            widest += metrics.tmAveCharWidth;
    });
    if (!in_font)
        return;
    RECT client{};
    GetClientRect(control, &client);
    if (widest > client.right && widest > send(control, LB_GETHORIZONTALEXTENT))
        send(control, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest));
}

std::int32_t listview_add_item(GadgetObject& g, std::int32_t position, const std::u16string& text, std::uintptr_t) {
    const HWND control = gadget_hwnd(g);
    send(control, LB_INSERTSTRING, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(wide(text)));
    const char16_t* added = text.c_str();
    widen_for(control, {&added, 1});
    return 0;
}

void listview_remove_item(GadgetObject& g, std::int32_t item) {
    send(gadget_hwnd(g), LB_DELETESTRING, static_cast<WPARAM>(item));
}

void listview_clear_items(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    send(control, LB_RESETCONTENT);
    if (send(control, LB_GETHORIZONTALEXTENT) != 0)
        send(control, LB_SETHORIZONTALEXTENT, 0);
}

std::int32_t listview_count_items(GadgetObject& g) {
    return static_cast<std::int32_t>(send(gadget_hwnd(g), LB_GETCOUNT));
}

std::int32_t listview_get_item_state(GadgetObject& g, std::int32_t item) {
    const LRESULT selected = send(gadget_hwnd(g), LB_GETSEL, static_cast<WPARAM>(item));
    return selected == LB_ERR ? -1 : selected > 0 ? 1 : 0;
}

void listview_set_item_state(GadgetObject& g, std::int32_t item, std::int32_t state) {
    send(gadget_hwnd(g), LB_SETSEL, state != 0, item);
}

std::u16string listview_get_item_text(GadgetObject& g, std::int32_t item, std::int32_t) {
    return item_text(gadget_hwnd(g), item);
}

std::int32_t listview_set_item_text(GadgetObject& g, std::int32_t item, const std::u16string& text, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    const LRESULT data = send(control, LB_GETITEMDATA, static_cast<WPARAM>(item));
    if (send(control, LB_DELETESTRING, static_cast<WPARAM>(item)) == LB_ERR)
        return -1;
    send(control, LB_INSERTSTRING, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(wide(text)));
    send(control, LB_SETITEMDATA, static_cast<WPARAM>(item), data);
    const char16_t* changed = text.c_str();
    widen_for(control, {&changed, 1});
    return 0;
}

void listview_set_item_data(GadgetObject& g, std::int32_t item, std::intptr_t value) {
    send(gadget_hwnd(g), LB_SETITEMDATA, static_cast<WPARAM>(item), value);
}

std::intptr_t listview_get_item_data(GadgetObject& g, std::int32_t item) {
    return send(gadget_hwnd(g), LB_GETITEMDATA, static_cast<WPARAM>(item));
}

constexpr GadgetKindTable kListViewKind{
    .kind = kKindListView,
    .size = kGadgetKindTableSize,
    .notification_handler = listview_notification,
    .free_hook = common_free_hook,
    .get_state = listview_get_state,
    .set_state = listview_set_state,
    .get_text = listview_get_text,
    .set_text = listview_set_text,
    .add_item = listview_add_item,
    .remove_item = listview_remove_item,
    .clear_items = listview_clear_items,
    .count_items = listview_count_items,
    .get_item_state = listview_get_item_state,
    .set_item_state = listview_set_item_state,
    .get_item_text = listview_get_item_text,
    .set_item_text = listview_set_item_text,
    .set_colour = common_set_colour,
    .get_colour = common_get_colour,
    .set_item_data = listview_set_item_data,
    .get_item_data = listview_get_item_data,
};

void disarm(HWND control) {
    RemovePropW(control, kPropMouseDown);
    if (g_armed == control)
        g_armed = nullptr;
}

// Arms drag detection for a plain press on an item; true when the list box
// must not see the press (multi-selection: the selection stays as it is).
bool on_press(HWND control, WPARAM keys, LPARAM where) {
    if (keys & (MK_SHIFT | MK_CONTROL))
        return false;
    const LRESULT hit = send(control, LB_ITEMFROMPOINT, 0, where);
    if (HIWORD(hit) != 0)
        return false;
    const bool multi = multi_selection(control);
    if (multi && send(control, LB_GETSEL, LOWORD(hit)) <= 0)
        return false;
    SetPropW(control, kPropMouseDown, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(static_cast<DWORD>(where))));
    g_armed = control;
    SetCapture(control);
    return multi;
}

void on_move(HWND control, LPARAM where) {
    const auto down = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(GetPropW(control, kPropMouseDown)));
    const int dx = static_cast<short>(LOWORD(where)) - static_cast<short>(LOWORD(down));
    const int dy = static_cast<short>(HIWORD(where)) - static_cast<short>(HIWORD(down));
    if (std::abs(dx) > g_drag_x || std::abs(dy) > g_drag_y) {
        disarm(control);
        ReleaseCapture();
        post_gadget_event(control, ET_DRAG_START);
    }
}

LRESULT CALLBACK listview_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    switch (message) {
        case WM_KEYDOWN:
        case WM_CHAR: {
            g_action = ListAction{control, false};
            const LRESULT result = CallWindowProcW(g_listbox_proc, control, message, wparam, lparam);
            end_action(control);
            return result;
        }
        case WM_LBUTTONDBLCLK:
            g_action = ListAction{control, false};
            break;
        case WM_LBUTTONDOWN:
            g_action = ListAction{control, false};
            if (on_press(control, wparam, lparam))
                return 0;
            break;
        case WM_MOUSEMOVE:
            if (g_armed == control)
                on_move(control, lparam);
            break;
        case WM_LBUTTONUP: {
            if (g_armed == control) {
                disarm(control);
                ReleaseCapture();
                post_click_once(control);
            }
            // The list box's own release handling belongs to the same action.
            const LRESULT result = CallWindowProcW(g_listbox_proc, control, message, wparam, lparam);
            end_action(control);
            return result;
        }
        case WM_RBUTTONUP:
            post_gadget_event(control, ET_RIGHT_CLICK);
            break;
        case WM_CAPTURECHANGED:
            // Capture taken away mid-press (another window, a menu): the
            // button's release will never come here, so neither may a drag.
            if (g_armed == control && reinterpret_cast<HWND>(lparam) != control)
                disarm(control);
            break;
        case WM_NCDESTROY:
            if (g_armed == control)
                disarm(control);
            if (g_action.control == control)
                g_action = {};
            break;
    }
    return CallWindowProcW(g_listbox_proc, control, message, wparam, lparam);
}

}  // namespace

// The list box is told the total first, so that it grows its storage once,
// and each string goes to its own procedure directly: the gadget's subclasses
// have nothing to do with an insertion, and under Wine the way through
// SendMessageW and both of them cost as much as the insertion itself (10 000
// items: 0.015 s instead of 0.005 s).
void listview_append_items(GadgetObject& g, std::span<const char16_t* const> texts) {
    const HWND control = gadget_hwnd(g);
    std::size_t units = 0;
    for (const char16_t* text : texts)
        units += (text ? std::char_traits<char16_t>::length(text) : 0) + 1;
    send(control, LB_INITSTORAGE, static_cast<WPARAM>(texts.size()), static_cast<LPARAM>(units * sizeof(char16_t)));
    for (const char16_t* text : texts)
        CallWindowProcW(g_listbox_proc, control, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(text ? text : u""));
    widen_for(control, texts);
}

std::intptr_t listview_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              std::uint32_t flags) {
    const HWND control =
        create_gadget_control(WS_EX_CLIENTEDGE, L"ListBox", u"", flags | kListStyle, x, y, width, height);
    if (!control)
        return 0;
    if (!g_listbox_proc) {
        g_drag_x = GetSystemMetrics(SM_CXDRAG);
        g_drag_y = GetSystemMetrics(SM_CYDRAG);
    }
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = -1;
    const auto class_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listview_proc)));
    if (!g_listbox_proc)
        g_listbox_proc = class_proc;
    return register_gadget(id, g, control, &kListViewKind);
}
