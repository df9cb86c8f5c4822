// The common gadget operations: one lookup, then the kind's slot or, for an
// empty slot, the default written out beside it.
#include "gadget/gadget_internal_win32.h"
#include "system/wide.h"
#include "window/event_queue.h"
#include "window/window.h"

RECT control_rect(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void gadget_default_resize(GadgetObject& g, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    const HWND control = gadget_hwnd(g);
    const GadgetKindTable& t = *g.table;
    if (x == kIgnore || y == kIgnore || width == kIgnore || height == kIgnore) {
        const RECT r = control_rect(control);
        if (x == kIgnore)
            x = t.x_position ? t.x_position(g) : r.left;
        if (y == kIgnore)
            y = t.y_position ? t.y_position(g) : r.top;
        if (width == kIgnore)
            width = t.width ? t.width(g) : r.right - r.left;
        if (height == kIgnore)
            height = t.height ? t.height(g) : r.bottom - r.top;
    }
    MoveWindow(control, x, y, width, height, TRUE);
    InvalidateRect(control, nullptr, FALSE);
    if (t.kind == kKindButton)
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE);
    else if (t.kind == kKindIpAddress)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(gadget_default_font()), TRUE);
}

namespace {

// Width or height: the required one (mode 1) or the kind's, else the control's.
std::int32_t gadget_extent(std::intptr_t gadget, std::int32_t mode, bool width) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return 0;
    if (mode == 1) {
        std::int32_t w, h;
        gadget_required_size(gadget, w, h);
        return width ? w : h;
    }
    const auto slot = width ? g->table->width : g->table->height;
    if (slot)
        return slot(*g);
    const RECT r = control_rect(gadget_hwnd(*g));
    return width ? r.right - r.left : r.bottom - r.top;
}

}  // namespace

void* gadget_handle(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    return g ? g->handle : nullptr;
}

void gadget_free(std::intptr_t gadget) {
    ObjectLibrary<GadgetObject>* gadgets = gadget_registry();
    GadgetObject* g = gadgets ? gadgets->free_all_or_find(gadget) : nullptr;
    if (!g)
        return;
    const HWND control = gadget_hwnd(*g);
    DestroyWindow(control);  // WM_NCDESTROY tears the gadget down
    // A control that could not be destroyed (another thread's, already dead)
    // must still give its number back.
    g = gadget_object(gadget);
    if (g && g->handle == control) {
        if (IsWindow(control))
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g->previous_proc));
        tear_down_gadget(control, gadget);
    }
}

std::int32_t gadget_kind(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    return g ? g->table->kind : 0;
}

std::int32_t gadget_get_state(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || !g->table->get_state)
        return 0;
    return g->table->get_state(*g);
}

void gadget_set_state(std::intptr_t gadget, std::int32_t state) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || !g->table->set_state)
        return;
    EventSuppression quiet;
    g->table->set_state(*g, state);
}

void gadget_set_text(std::intptr_t gadget, const char16_t* text) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return;
    const std::u16string value = text_or_empty(text);
    EventSuppression quiet;
    if (g->table->set_text)
        g->table->set_text(*g, value);
    else
        SetWindowTextW(gadget_hwnd(*g), wide(value));
}

std::int32_t gadget_add_item(std::intptr_t gadget, std::int32_t position, const char16_t* text) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return 0;
    const std::u16string value = text_or_empty(text);
    EventSuppression quiet;
    if (g->table->add_item_flags)
        return g->table->add_item_flags(*g, position, value, 0, 0);
    if (g->table->add_item)
        return g->table->add_item(*g, position, value, 0);
    return 0;
}

void gadget_add_items(std::intptr_t gadget, std::span<const char16_t* const> texts) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || texts.empty())
        return;
    EventSuppression quiet;
    if (g->table->kind == kKindListView) {
        listview_append_items(*g, texts);
        return;
    }
    for (const char16_t* text : texts) {
        const std::u16string value = text_or_empty(text);
        if (g->table->add_item_flags)
            g->table->add_item_flags(*g, -1, value, 0, 0);
        else if (g->table->add_item)
            g->table->add_item(*g, -1, value, 0);
    }
}

void gadget_set_item_text(std::intptr_t gadget, std::int32_t item, const char16_t* text, std::int32_t column) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || !g->table->set_item_text)
        return;
    EventSuppression quiet;
    g->table->set_item_text(*g, item, text_or_empty(text), column);
}

void gadget_clear_items(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->clear_items)
        g->table->clear_items(*g);
}

std::int32_t gadget_count_items(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->count_items ? g->table->count_items(*g) : 0;
}

std::int32_t gadget_get_item_state(std::intptr_t gadget, std::int32_t item) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->get_item_state ? g->table->get_item_state(*g, item) : 0;
}

std::u16string gadget_get_item_text(std::intptr_t gadget, std::int32_t item) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->get_item_text ? g->table->get_item_text(*g, item, 0) : std::u16string();
}

std::int32_t gadget_add_column(std::intptr_t gadget, std::int32_t position, const char16_t* title, std::int32_t width) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->add_column ? g->table->add_column(*g, position, text_or_empty(title), width) : 0;
}

void gadget_remove_column(std::intptr_t gadget, std::int32_t column) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->remove_column)
        g->table->remove_column(*g, column);
}

std::int32_t gadget_get_attribute(std::intptr_t gadget, std::int32_t attribute) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->get_attribute ? g->table->get_attribute(*g, attribute) : 0;
}

void gadget_set_attribute(std::intptr_t gadget, std::int32_t attribute, std::int32_t value) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->set_attribute)
        g->table->set_attribute(*g, attribute, value);
}

void gadget_set_colour(std::intptr_t gadget, std::int32_t type, std::int32_t colour) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->set_colour)
        g->table->set_colour(*g, type, colour);
}

std::int32_t gadget_get_colour(std::intptr_t gadget, std::int32_t type) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return 0;
    return g->table->get_colour ? g->table->get_colour(*g, type) : -1;
}

void gadget_set_font(std::intptr_t gadget, std::intptr_t font) {
    const HFONT chosen = font == -1 ? gadget_default_font() : reinterpret_cast<HFONT>(font);
    if (gadget == -1) {
        if (gadget_registry())
            gadget_library_state().new_gadget_font = chosen;
        return;
    }
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return;
    if (g->table->set_font)
        g->table->set_font(*g, reinterpret_cast<std::uintptr_t>(chosen));
    else
        SendMessageW(gadget_hwnd(*g), WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
}

void gadget_resize(std::intptr_t gadget, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return;
    if (g->table->resize)
        g->table->resize(*g, x, y, width, height);
    else
        gadget_default_resize(*g, x, y, width, height);
}

void gadget_hide(std::intptr_t gadget, std::int32_t state) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return;
    if (g->table->hide)
        g->table->hide(*g, state);
    else
        ShowWindow(gadget_hwnd(*g), state ? SW_HIDE : SW_SHOW);
}

void gadget_disable(std::intptr_t gadget, std::int32_t state) {
    if (GadgetObject* g = gadget_object(gadget))
        EnableWindow(gadget_hwnd(*g), !state);
}

void gadget_required_size(std::intptr_t gadget, std::int32_t& width, std::int32_t& height) {
    width = 0;
    height = 0;
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->required_size)
        g->table->required_size(*g, width, height);
}

std::int32_t gadget_width(std::intptr_t gadget, std::int32_t mode) {
    return gadget_extent(gadget, mode, true);
}

std::int32_t gadget_height(std::intptr_t gadget, std::int32_t mode) {
    return gadget_extent(gadget, mode, false);
}

std::intptr_t gadget_open_list(std::intptr_t gadget, std::int32_t item) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->open_list ? g->table->open_list(*g, item) : 0;
}
