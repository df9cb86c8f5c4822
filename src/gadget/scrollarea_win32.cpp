// The scroll area gadget: an outer window with both scroll bars that moves an
// inner window (the gadget list of its children) under its client area.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

#include "gadget/container_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "window/gadget_hooks.h"
#include "window/window.h"

namespace {

constexpr wchar_t kOuterClass[] = L"RivoDuvidoDave";
constexpr wchar_t kInnerClass[] = L"DoroDadoviVizuDoviz";
constexpr DWORD kOuterStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL;
static_assert(kOuterStyle == 0x50300000);
constexpr DWORD kInnerStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

struct ScrollAreaRecord {
    HWND inner = nullptr;
    std::int32_t inner_width = 0;
    std::int32_t inner_height = 0;
    std::int32_t step = 10;
    bool centre = false;
    HBRUSH brush = nullptr;  // the back colour's, from the shared cache
};

ScrollAreaRecord* area_of(HWND outer) {
    GadgetObject* g = gadget_of_control(outer);
    return g ? static_cast<ScrollAreaRecord*>(g->extension) : nullptr;
}

int position(HWND outer, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(outer, bar, &info);
    return info.nPos;
}

// The inner window's place for the current positions; centred when it is the
// smaller one and the area asks for it.
void place_inner(HWND outer, const ScrollAreaRecord& area) {
    RECT client{};
    GetClientRect(outer, &client);
    int x = -position(outer, SB_HORZ), y = -position(outer, SB_VERT);
    if (area.centre && area.inner_width < client.right)
        x = (client.right - area.inner_width) / 2;
    if (area.centre && area.inner_height < client.bottom)
        y = (client.bottom - area.inner_height) / 2;
    SetWindowPos(area.inner, nullptr, x, y, area.inner_width, area.inner_height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Ranges and pages for the inner size; the system keeps the positions within them.
// A bar shown or hidden resizes the area, whose resize event runs callbacks at
// once; one of them may free it, so the record is looked up after each.
void update_bars(HWND outer) {
    for (int pass = 0; pass < 2; ++pass) {  // showing one bar can make the other needed
        for (const int bar : {SB_HORZ, SB_VERT}) {
            const ScrollAreaRecord* area = area_of(outer);
            if (!area)
                return;
            RECT client{};
            GetClientRect(outer, &client);
            const std::int32_t inner = bar == SB_HORZ ? area->inner_width : area->inner_height;
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE;
            info.nMax = inner > 0 ? inner - 1 : 0;
            info.nPage = static_cast<UINT>(bar == SB_HORZ ? client.right : client.bottom);
            SetScrollInfo(outer, bar, &info, TRUE);
        }
    }
    if (const ScrollAreaRecord* area = area_of(outer))
        place_inner(outer, *area);
}

// The bar keeps the position within its range; the step may be any number a
// program sets, so positions are worked out in 64 bits.
void scroll_to(HWND outer, ScrollAreaRecord& area, int bar, std::int64_t to) {
    SetScrollPos(outer, bar, static_cast<int>(std::clamp<std::int64_t>(to, INT_MIN, INT_MAX)), TRUE);
    place_inner(outer, area);
}

void on_scroll(HWND outer, ScrollAreaRecord& area, int bar, WPARAM wparam) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(outer, bar, &info);
    std::int64_t to = info.nPos;
    switch (LOWORD(wparam)) {
        case SB_LINEUP:
            to -= area.step;
            break;
        case SB_LINEDOWN:
            to += area.step;
            break;
        case SB_PAGEUP:
            to -= info.nPage;
            break;
        case SB_PAGEDOWN:
            to += info.nPage;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            to = info.nTrackPos;
            break;
        case SB_TOP:
            to = 0;
            break;
        case SB_BOTTOM:
            to = info.nMax;
            break;
        default:
            return;
    }
    scroll_to(outer, area, bar, to);
    post_gadget_event(outer, ET_LEFT_CLICK);
}

LRESULT CALLBACK outer_proc(HWND outer, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    ScrollAreaRecord* area = area_of(outer);
    if (area) {
        switch (message) {
            case WM_SIZE:
                update_bars(outer);
                post_gadget_event_forced(outer, ET_RESIZE);
                return 0;
            case WM_HSCROLL:
                if (!lparam) {
                    on_scroll(outer, *area, SB_HORZ, wparam);
                    return 0;
                }
                break;
            case WM_VSCROLL:
                if (!lparam) {
                    on_scroll(outer, *area, SB_VERT, wparam);
                    return 0;
                }
                break;
            case WM_MOUSEWHEEL: {
                const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
                scroll_to(outer, *area, SB_VERT, position(outer, SB_VERT) - std::int64_t{notches} * 3 * area->step);
                post_gadget_event(outer, ET_LEFT_CLICK);
                return 0;
            }
        }
    }
    const std::intptr_t result = window_translate_message(outer, message, wparam, lparam);
    return result != NOT_HANDLED ? result : DefWindowProcW(outer, message, wparam, lparam);
}

LRESULT CALLBACK inner_proc(HWND inner, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_ERASEBKGND) {
        ScrollAreaRecord* area = area_of(GetParent(inner));
        if (area && area->brush) {
            RECT r;
            GetClientRect(inner, &r);
            FillRect(reinterpret_cast<HDC>(wparam), &r, area->brush);
            return 1;
        }
    } else if (message == WM_MOUSEWHEEL) {
        return SendMessageW(GetParent(inner), message, wparam, lparam);
    }
    const std::intptr_t result = window_translate_message(inner, message, wparam, lparam);
    return result != NOT_HANDLED ? result : DefWindowProcW(inner, message, wparam, lparam);
}

ScrollAreaRecord& record(GadgetObject& g) {
    return *static_cast<ScrollAreaRecord*>(g.extension);
}

void scrollarea_free(GadgetObject& g) {
    common_free_hook(g);
    delete static_cast<ScrollAreaRecord*>(g.extension);
    g.extension = nullptr;
}

std::intptr_t scrollarea_open_list(GadgetObject& g, std::int32_t) {
    const HWND inner = record(g).inner;
    return nest_gadget_list(inner) ? reinterpret_cast<std::intptr_t>(inner) : 0;
}

std::int32_t scrollarea_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const ScrollAreaRecord& area = record(g);
    switch (attribute) {
        case PB_ScrollArea_InnerWidth:
            return area.inner_width;
        case PB_ScrollArea_InnerHeight:
            return area.inner_height;
        case PB_ScrollArea_X:
            return position(gadget_hwnd(g), SB_HORZ);
        case PB_ScrollArea_Y:
            return position(gadget_hwnd(g), SB_VERT);
        case PB_ScrollArea_ScrollStep:
            return area.step;
    }
    return 0;
}

void scrollarea_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    ScrollAreaRecord& area = record(g);
    const HWND outer = gadget_hwnd(g);
    switch (attribute) {
        case PB_ScrollArea_InnerWidth:
            area.inner_width = std::max(value, 0);
            update_bars(outer);
            break;
        case PB_ScrollArea_InnerHeight:
            area.inner_height = std::max(value, 0);
            update_bars(outer);
            break;
        case PB_ScrollArea_X:
            scroll_to(outer, area, SB_HORZ, value);
            break;
        case PB_ScrollArea_Y:
            scroll_to(outer, area, SB_VERT, value);
            break;
        case PB_ScrollArea_ScrollStep:
            area.step = std::max(value, 1);
            break;
    }
}

void scrollarea_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    if (type != BACK_COLOR)
        return;
    common_set_colour(g, type, colour);
    record(g).brush = reinterpret_cast<HBRUSH>(g.word7);
    InvalidateRect(record(g).inner, nullptr, TRUE);
}

std::int32_t scrollarea_get_colour(GadgetObject& g, std::int32_t type) {
    return type == BACK_COLOR ? static_cast<std::int32_t>(g.back_colour) : -1;
}

constexpr GadgetKindTable kScrollAreaKind{
    .kind = kKindScrollArea,
    .size = kGadgetKindTableSize,
    .free_hook = scrollarea_free,
    .open_list = scrollarea_open_list,
    .get_attribute = scrollarea_get_attribute,
    .set_attribute = scrollarea_set_attribute,
    .set_colour = scrollarea_set_colour,
    .get_colour = scrollarea_get_colour,
};

}  // namespace

std::intptr_t scrollarea_gadget(std::intptr_t id,
                                std::int32_t x,
                                std::int32_t y,
                                std::int32_t width,
                                std::int32_t height,
                                std::int32_t inner_width,
                                std::int32_t inner_height,
                                std::int32_t step,
                                std::uint32_t flags) {
    const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!register_kind_class(kOuterClass, outer_proc, 0, face) ||
        !register_kind_class(kInnerClass, inner_proc, 0, face))
        return 0;
    auto* area = new (std::nothrow) ScrollAreaRecord{};
    if (!area)
        return 0;
    area->inner_width = std::max(inner_width, 0);
    area->inner_height = std::max(inner_height, 0);
    area->step = std::max(step, 1);
    area->centre = flags & PB_ScrollArea_Center;
    DWORD style = kOuterStyle, ex_style = 0;
    if (flags & PB_ScrollArea_Flat)
        style |= WS_BORDER;
    else if (flags & PB_ScrollArea_Raised)
        style |= WS_DLGFRAME;
    else if (flags & PB_ScrollArea_Single)
        ex_style = WS_EX_STATICEDGE;
    else if (!(flags & PB_ScrollArea_BorderLess))
        ex_style = WS_EX_CLIENTEDGE;
    const HWND outer = create_gadget_control(ex_style, kOuterClass, u"", style, x, y, width, height);
    if (!outer) {
        delete area;
        return 0;
    }
    area->inner = CreateWindowExW(0, kInnerClass, L"", kInnerStyle, 0, 0, area->inner_width, area->inner_height, outer,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    GadgetObject* g = area->inner ? allocate_gadget(id, outer) : nullptr;
    if (!g) {
        if (!area->inner)
            DestroyWindow(outer);
        delete area;
        return 0;
    }
    g->back_colour = -1;
    g->front_colour = -1;
    g->extension = area;
    const HWND inner = area->inner;
    const std::intptr_t result = register_gadget(id, g, outer, &kScrollAreaKind);
    update_bars(outer);
    return nest_new_gadget_list(id, result, inner);
}
