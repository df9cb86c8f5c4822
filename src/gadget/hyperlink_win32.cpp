// The hyperlink gadget: a static control that paints itself, with a hover
// colour, an underline (always, or only while hovered), a hand cursor and a
// click on release; a tab stop that Enter or Space clicks.
#include <new>

#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"
#include "system/handles_win32.h"
#include "window/gadget_hooks.h"

namespace {

// The key's previous state in a key message: down, so this one is a repeat.
constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;
constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverTimerMs = 30;
constexpr int kTransparentBackground = 1;  // <windows.h>'s TRANSPARENT, undefined by system/win32.h
constexpr std::size_t kPaintTextUnits = 512;

struct HyperlinkRecord {
    HFONT font;
    std::uint32_t flags;
    WNDPROC previous;
    COLORREF hover_colour;
    bool hovering;
};

HCURSOR g_link_cursor = nullptr;

HyperlinkRecord* link_of(GadgetObject& g) {
    return static_cast<HyperlinkRecord*>(g.extension);
}

std::intptr_t hyperlink_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t) {
    if (message == WM_CTLCOLORSTATIC && g.back_colour != -1)
        return static_cast<std::intptr_t>(g.word7);
    return NOT_HANDLED;
}

void hyperlink_free(GadgetObject& g) {
    common_free_hook(g);
    delete link_of(g);
    g.extension = nullptr;
}

void hyperlink_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    required_size_from_text(g, TextMeasure::Block, width, height,
                            [](GadgetSize text) { return hyperlink_required_size(text); });
}

constexpr GadgetKindTable kHyperlinkKind{
    .kind = kKindHyperLink,
    .size = kGadgetKindTableSize,
    .notification_handler = hyperlink_notification,
    .free_hook = hyperlink_free,
    .set_colour = common_set_colour,
    .get_colour = common_get_colour,
    .required_size = hyperlink_required_size,
};

COLORREF text_colour(const GadgetObject& g, const HyperlinkRecord& link) {
    return link.hovering ? link.hover_colour : static_cast<COLORREF>(g.front_colour);
}

// Draws the link into `dc` over `area`; whatever it selects into the DC is
// put back before it returns.
void draw(HWND control, HDC dc, const RECT& area, GadgetObject& g, HyperlinkRecord& link) {
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    if (brush)
        FillRect(dc, &area, brush);
    wchar_t text[kPaintTextUnits];
    const int length = GetWindowTextW(control, text, static_cast<int>(kPaintTextUnits));
    const SelectedObject font(dc, link.font);
    if (!IsWindowEnabled(control)) {
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(length), 0, 0, 0, 0,
                   DST_TEXT | DSS_DISABLED);
        return;
    }
    SetBkMode(dc, kTransparentBackground);
    const COLORREF colour = text_colour(g, link);
    SetTextColor(dc, colour);
    TextOutW(dc, 0, 0, text, length);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    if (link.flags & PB_HyperLink_Underline) {
        const UniqueHpen pen(CreatePen(PS_SOLID, 0, colour));
        const SelectedObject selected(dc, pen.get());  // deselected before the pen is deleted
        MoveToEx(dc, 0, extent.cy, nullptr);
        LineTo(dc, extent.cx, extent.cy);
    }
    // Reached with Tab, the link shows it has the focus.
    if (GetFocus() == control) {
        RECT around{0, 0, extent.cx + 2, extent.cy + 2};
        IntersectRect(&around, &around, &area);
        DrawFocusRect(dc, &around);
    }
}

void paint(HWND control, GadgetObject& g, HyperlinkRecord& link) {
    const PaintDc dc(control);
    if (!dc)
        return;
    // The static class paints with its parent's DC: keep to the control.
    RECT client;
    GetClientRect(control, &client);
    IntersectClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    draw(control, dc.get(), dc.area(), g, link);
}

void check_hover(HWND control, HyperlinkRecord& link) {
    const DWORD where = GetMessagePos();
    POINT p{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    ScreenToClient(control, &p);
    RECT client;
    GetClientRect(control, &client);
    const bool inside = p.x >= 0 && p.x <= client.right && p.y >= 0 && p.y <= client.bottom;
    if (inside && IsWindowEnabled(GetParent(control)))
        return;
    link.hovering = false;
    KillTimer(control, kHoverTimer);
    InvalidateRect(control, nullptr, FALSE);
}

LRESULT CALLBACK hyperlink_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    GadgetObject* g = gadget_of_control(control);
    HyperlinkRecord* link = g ? link_of(*g) : nullptr;
    if (!link)
        return DefWindowProcW(control, message, wparam, lparam);
    switch (message) {
        case WM_PAINT:
            paint(control, *g, *link);
            return 0;
        case WM_PRINTCLIENT: {
            // Into the caller's DC (window printing, animations).
            RECT client;
            GetClientRect(control, &client);
            draw(control, reinterpret_cast<HDC>(wparam), client, *g, *link);
            return 0;
        }
        case WM_SETTEXT: {
            // The control's own answer, so that setting the text reports success.
            const LRESULT set = CallWindowProcW(link->previous, control, message, wparam, lparam);
            InvalidateRect(control, nullptr, TRUE);
            return set;
        }
        case WM_ENABLE:
        case WM_UPDATEUISTATE:
            InvalidateRect(control, nullptr, TRUE);
            return 0;
        case WM_SETFONT:
            link->font = reinterpret_cast<HFONT>(wparam);
            if (LOWORD(lparam) == 1)
                InvalidateRect(control, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(link->font);
        case WM_SETCURSOR:
            SetCursor(g_link_cursor);
            return 1;
        case WM_MOUSEMOVE:
            // Only the timer's check ends hovering: without a timer the link
            // does not hover (the next move tries again).
            if (!link->hovering && SetTimer(control, kHoverTimer, kHoverTimerMs, nullptr)) {
                link->hovering = true;
                InvalidateRect(control, nullptr, FALSE);
            }
            return 0;
        case WM_TIMER:
            if (wparam == kHoverTimer && link->hovering)
                check_hover(control, *link);
            return 0;
        case WM_LBUTTONUP:
            post_gadget_event(control, ET_LEFT_CLICK);
            return 0;
        // From the keyboard, as a button: Enter when pressed (not its
        // repeats), Space when released.
        case WM_KEYDOWN:
            if (wparam == VK_RETURN && !(lparam & kKeyWasDown))
                post_gadget_event(control, ET_LEFT_CLICK);
            if (wparam == VK_RETURN || wparam == VK_SPACE)
                return 0;
            break;
        case WM_KEYUP:
            if (wparam == VK_SPACE) {
                post_gadget_event(control, ET_LEFT_CLICK);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(control, nullptr, TRUE);
            return 0;
        case WM_COMMAND:
        case WM_LBUTTONDBLCLK:
            return 0;
    }
    // The static control without SS_NOTIFY would answer hit tests with
    // "transparent"; the default answer lets mouse messages reach the link.
    // The record may be gone after this call (WM_NCDESTROY).
    CallWindowProcW(link->previous, control, message, wparam, lparam);
    return DefWindowProcW(control, message, wparam, lparam);
}

}  // namespace

std::int32_t hyperlink_paint_colour(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || g->table != &kHyperlinkKind || !link_of(*g))
        return 0;
    if (!IsWindowEnabled(gadget_hwnd(*g)))
        return -1;
    return static_cast<std::int32_t>(text_colour(*g, *link_of(*g)));
}

std::intptr_t hyperlink_gadget(std::intptr_t id,
                               std::int32_t x,
                               std::int32_t y,
                               std::int32_t width,
                               std::int32_t height,
                               const char16_t* text,
                               std::int32_t hover_colour,
                               std::uint32_t flags) {
    if (!g_link_cursor) {
        g_link_cursor = LoadCursorW(nullptr, IDC_HAND);
        if (!g_link_cursor)
            g_link_cursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    // A tab stop, so that the keyboard reaches it too.
    const HWND control = create_gadget_control(0, L"STATIC", text, WS_CHILD | WS_TABSTOP, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = 0;
    auto* link = new (std::nothrow) HyperlinkRecord{gadget_library_state().new_gadget_font, flags, nullptr,
                                                    static_cast<COLORREF>(hover_colour), false};
    if (!link) {
        abandon_gadget(id, g, control);
        return 0;
    }
    g->extension = link;
    const std::intptr_t result = register_gadget(id, g, control, &kHyperlinkKind);
    link->previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hyperlink_proc)));
    ShowWindow(control, SW_SHOWNORMAL);
    return result;
}
