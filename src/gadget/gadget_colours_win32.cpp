// Colours of the kinds that keep them in words 5 to 7, and the shared brush
// cache behind their background brushes.
#include "gadget/brush_cache.h"
#include "gadget/gadget_internal_win32.h"
#include "system/process_lock_win32.h"
#include "window/gadget_hooks.h"

namespace {

std::uintptr_t create_brush(std::int32_t colour) {
    return reinterpret_cast<std::uintptr_t>(CreateSolidBrush(static_cast<COLORREF>(colour)));
}
void delete_brush(std::uintptr_t brush) {
    DeleteObject(reinterpret_cast<HBRUSH>(brush));
}

// Brushes are process-wide: any thread may take one.
ProcessLock& brush_lock() {
    static ProcessLock lock;
    return lock;
}
BrushCache& brush_cache() {
    static BrushCache cache(create_brush, delete_brush);
    return cache;
}

}  // namespace

std::uintptr_t brush_for_colour(std::int32_t colour) {
    ProcessLockGuard hold(brush_lock());
    return brush_cache().acquire(colour);
}

void release_brush(std::uintptr_t brush) {
    ProcessLockGuard hold(brush_lock());
    brush_cache().release(brush);
}

std::size_t cached_brush_count() {
    ProcessLockGuard hold(brush_lock());
    return brush_cache().size();
}

void common_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    if (type == FRONT_COLOR) {
        g.front_colour = colour;
    } else if (type == BACK_COLOR) {
        if (g.word7)
            release_brush(g.word7);
        g.word7 = colour == -1 ? 0 : brush_for_colour(colour);
        g.back_colour = colour;
    }
    RedrawWindow(gadget_hwnd(g), nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_FRAME);
}

std::int32_t common_get_colour(GadgetObject& g, std::int32_t type) {
    if (type == FRONT_COLOR)
        return static_cast<std::int32_t>(g.front_colour);
    if (type == BACK_COLOR)
        return static_cast<std::int32_t>(g.back_colour);
    return -1;
}

void common_free_hook(GadgetObject& g) {
    if (g.word7) {
        release_brush(g.word7);
        g.word7 = 0;
    }
}

std::intptr_t colour_answer(GadgetObject& g, HDC dc, int system_colour) {
    if (g.front_colour != -1) {
        SetTextColor(dc, static_cast<COLORREF>(g.front_colour));
        if (g.back_colour == -1) {
            SetBkColor(dc, GetSysColor(system_colour));
            return reinterpret_cast<std::intptr_t>(GetSysColorBrush(system_colour));
        }
    } else if (g.back_colour == -1) {
        return NOT_HANDLED;
    }
    SetBkColor(dc, static_cast<COLORREF>(g.back_colour));
    return static_cast<std::intptr_t>(g.word7);
}
