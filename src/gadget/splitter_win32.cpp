// The splitter gadget: two gadgets on either side of a bar; dragging the bar
// or resizing the splitter sizes them through gadget_resize.
#include <algorithm>
#include <cstdint>
#include <new>

#include "gadget/container_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "window/gadget_hooks.h"
#include "window/window.h"

namespace {

constexpr wchar_t kSplitterClass[] = L"VezeDuvuduro";
constexpr DWORD kSplitterStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;

struct SplitterRecord {
    std::intptr_t first = 0, second = 0;
    std::uint32_t flags = 0;
    std::int32_t position = -1;  // the first pane's size; -1 until the first placement
    std::int32_t first_minimum = 0, second_minimum = 0;
    std::int32_t length = 0;        // the size along the bar's axis at the last placement
    std::int32_t drag_offset = -1;  // where in the bar the mouse holds it; -1 when not dragging
};

HCURSOR g_across = nullptr, g_down = nullptr;

bool vertical(const SplitterRecord& s) {
    return s.flags & PB_Splitter_Vertical;
}

std::int32_t bar_size(const SplitterRecord& s) {
    return s.flags & PB_Splitter_Separator ? 7 : 4;
}

SplitterRecord* splitter_of(HWND control) {
    GadgetObject* g = gadget_of_control(control);
    return g ? static_cast<SplitterRecord*>(g->extension) : nullptr;
}

// The position kept within both minimums (the first wins when they cannot both hold).
// In 64 bits: a minimum may be any number a program sets.
std::int32_t clamp_position(const SplitterRecord& s, std::int32_t position, std::int32_t length) {
    const std::int64_t room = std::max<std::int64_t>(std::int64_t{length} - bar_size(s), 0);
    const std::int64_t highest = std::int64_t{length} - bar_size(s) - s.second_minimum;
    // Between 0 and the larger of position and room: an int32 again.
    return static_cast<std::int32_t>(
        std::max(std::min<std::int64_t>(position, highest), std::min<std::int64_t>(s.first_minimum, room)));
}

void place_panes(HWND control, SplitterRecord& s) {
    RECT client{};
    GetClientRect(control, &client);
    const std::int32_t length = vertical(s) ? client.right : client.bottom;
    const std::int32_t across = vertical(s) ? client.bottom : client.right;
    const bool first_placement = s.position < 0;
    if (first_placement) {
        s.position = (length - bar_size(s)) / 2;
    } else if (s.length > 0 && length != s.length) {
        if (s.flags & PB_Splitter_SecondFixed)
            s.position += length - s.length;
        else if (!(s.flags & PB_Splitter_FirstFixed))
            s.position = static_cast<std::int32_t>(static_cast<long long>(s.position) * length / s.length);
    }
    s.position = clamp_position(s, s.position, length);
    s.length = length;
    const std::int32_t after = s.position + bar_size(s);
    const std::int32_t rest = std::max(length - after, 0);
    const std::int32_t first_size = std::max(s.position, 0);
    const bool bar_unplaced = first_placement && length <= bar_size(s);
    const bool across_x = vertical(s);
    const std::intptr_t second = s.second;
    // Each pane's resize event runs its callbacks at once, and one of them
    // may free the splitter: the record is not read after the first.
    if (across_x)
        gadget_resize(s.first, 0, 0, first_size, across);
    else
        gadget_resize(s.first, 0, 0, across, first_size);
    SplitterRecord* still = splitter_of(control);
    if (!still)
        return;
    if (across_x)
        gadget_resize(second, after, 0, rest, across);
    else
        gadget_resize(second, 0, after, across, rest);
    // Made without a size (as a dialog makes it): the bar is placed at the
    // first real size, not pushed to the edge by this empty one.
    if (bar_unplaced && (still = splitter_of(control)) != nullptr)
        still->position = -1;
    InvalidateRect(control, nullptr, TRUE);
}

void paint_bar(HWND control, SplitterRecord& s) {
    const PaintDc dc(control);
    if (!dc)
        return;
    RECT client{};
    GetClientRect(control, &client);
    FillRect(dc.get(), &dc.area(), GetSysColorBrush(COLOR_BTNFACE));
    if (s.flags & PB_Splitter_Separator) {
        RECT bar = client;
        if (vertical(s)) {
            bar.left = s.position;
            bar.right = s.position + bar_size(s);
        } else {
            bar.top = s.position;
            bar.bottom = s.position + bar_size(s);
        }
        DrawEdge(dc.get(), &bar, EDGE_RAISED, BF_RECT);
    }
}

std::int32_t along(const SplitterRecord& s, LPARAM where) {
    return vertical(s) ? static_cast<short>(LOWORD(where)) : static_cast<short>(HIWORD(where));
}

LRESULT CALLBACK splitter_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    SplitterRecord* s = splitter_of(control);
    if (s) {
        switch (message) {
            case WM_SIZE:
                place_panes(control, *s);
                return 0;
            case WM_PAINT:
                paint_bar(control, *s);
                return 0;
            case WM_ERASEBKGND:
                return 1;
            case WM_SETCURSOR:
                if (reinterpret_cast<HWND>(wparam) == control && LOWORD(lparam) == HTCLIENT) {
                    SetCursor(vertical(*s) ? g_across : g_down);
                    return TRUE;
                }
                break;
            case WM_LBUTTONDOWN:
                s->drag_offset = along(*s, lparam) - s->position;
                SetCapture(control);
                return 0;
            case WM_MOUSEMOVE:
                if (s->drag_offset >= 0 && GetCapture() == control) {
                    const std::int32_t to = clamp_position(*s, along(*s, lparam) - s->drag_offset, s->length);
                    if (to != s->position) {
                        s->position = to;
                        place_panes(control, *s);
                        post_gadget_event(control, ET_LEFT_CLICK);
                    }
                }
                return 0;
            case WM_LBUTTONUP:
                if (GetCapture() == control)
                    ReleaseCapture();
                return 0;
            case WM_CAPTURECHANGED:
                s->drag_offset = -1;
                return 0;
        }
    }
    const std::intptr_t result = window_translate_message(control, message, wparam, lparam);
    return result != NOT_HANDLED ? result : DefWindowProcW(control, message, wparam, lparam);
}

SplitterRecord& record(GadgetObject& g) {
    return *static_cast<SplitterRecord*>(g.extension);
}

void splitter_free(GadgetObject& g) {
    delete static_cast<SplitterRecord*>(g.extension);
    g.extension = nullptr;
}

std::int32_t splitter_get_state(GadgetObject& g) {
    return record(g).position;
}

void splitter_set_state(GadgetObject& g, std::int32_t state) {
    record(g).position = std::max(state, 0);
    place_panes(gadget_hwnd(g), record(g));
}

std::int32_t splitter_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const SplitterRecord& s = record(g);
    switch (attribute) {
        case PB_Splitter_FirstMinimumSize:
            return s.first_minimum;
        case PB_Splitter_SecondMinimumSize:
            return s.second_minimum;
        case PB_Splitter_FirstGadget:
            return static_cast<std::int32_t>(s.first);
        case PB_Splitter_SecondGadget:
            return static_cast<std::int32_t>(s.second);
    }
    return 0;
}

void splitter_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    SplitterRecord& s = record(g);
    if (attribute == PB_Splitter_FirstMinimumSize)
        s.first_minimum = std::max(value, 0);
    else if (attribute == PB_Splitter_SecondMinimumSize)
        s.second_minimum = std::max(value, 0);
    else
        return;
    place_panes(gadget_hwnd(g), s);
}

constexpr GadgetKindTable kSplitterKind{
    .kind = kKindSplitter,
    .size = kGadgetKindTableSize,
    .free_hook = splitter_free,
    .get_state = splitter_get_state,
    .set_state = splitter_set_state,
    .get_attribute = splitter_get_attribute,
    .set_attribute = splitter_set_attribute,
};

}  // namespace

std::intptr_t splitter_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              std::intptr_t first,
                              std::intptr_t second,
                              std::uint32_t flags) {
    if (!gadget_object(first) || !gadget_object(second) || gadget_object(first) == gadget_object(second))
        return 0;
    if (!register_kind_class(kSplitterClass, splitter_proc, 0, nullptr))
        return 0;
    if (!g_across) {
        g_across = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE));
        g_down = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZENS));
    }
    auto* s = new (std::nothrow) SplitterRecord{};
    if (!s)
        return 0;
    s->first = first;
    s->second = second;
    s->flags = flags;
    const HWND control = create_gadget_control(0, kSplitterClass, u"", flags | kSplitterStyle, x, y, width, height);
    GadgetObject* g = control ? allocate_gadget(id, control) : nullptr;
    // The number may have named one of the panes, which is gone now.
    if (g && (!gadget_object(first) || !gadget_object(second))) {
        abandon_gadget(id, g, control);
        g = nullptr;
    }
    if (!g) {
        delete s;
        return 0;
    }
    g->extension = s;
    const std::intptr_t result = register_gadget(id, g, control, &kSplitterKind);
    SetParent(static_cast<HWND>(gadget_handle(first)), control);
    SetParent(static_cast<HWND>(gadget_handle(second)), control);
    place_panes(control, *s);
    return result;
}
