// The common operations on a gadget's text, items and their attributes: one
// lookup, then the kind's slot; a kind without the slot answers 0 or nothing.
#include "gadget/gadget_internal_win32.h"
#include "window/event_queue.h"

std::u16string gadget_get_text(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return {};
    if (g->table->get_text)
        return g->table->get_text(*g);
    std::u16string text;
    return control_text(gadget_hwnd(*g), text) ? text : std::u16string();
}

std::int32_t gadget_add_item_ex(std::intptr_t gadget,
                                std::int32_t position,
                                const char16_t* text,
                                std::uintptr_t image,
                                std::int32_t flags) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return 0;
    const std::u16string value = text_or_empty(text);
    EventSuppression quiet;
    if (g->table->add_item_flags)
        return g->table->add_item_flags(*g, position, value, image, flags);
    if (g->table->add_item)
        return g->table->add_item(*g, position, value, image);
    return 0;
}

void gadget_remove_item(std::intptr_t gadget, std::int32_t item) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || !g->table->remove_item)
        return;
    EventSuppression quiet;
    g->table->remove_item(*g, item);
}

void gadget_set_item_state(std::intptr_t gadget, std::int32_t item, std::int32_t state) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || !g->table->set_item_state)
        return;
    EventSuppression quiet;
    g->table->set_item_state(*g, item, state);
}

std::u16string gadget_get_item_text(std::intptr_t gadget, std::int32_t item, std::int32_t column) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->get_item_text ? g->table->get_item_text(*g, item, column) : std::u16string();
}

std::int32_t gadget_get_item_attribute(std::intptr_t gadget,
                                       std::int32_t item,
                                       std::int32_t attribute,
                                       std::int32_t column) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->get_item_attribute ? g->table->get_item_attribute(*g, item, attribute, column) : 0;
}

void gadget_set_item_attribute(std::intptr_t gadget,
                               std::int32_t item,
                               std::int32_t attribute,
                               std::int32_t value,
                               std::int32_t column) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->set_item_attribute)
        g->table->set_item_attribute(*g, item, attribute, value, column);
}

void gadget_set_item_colour(std::intptr_t gadget,
                            std::int32_t item,
                            std::int32_t type,
                            std::int32_t colour,
                            std::int32_t column) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->set_item_colour)
        g->table->set_item_colour(*g, item, type, colour, column);
}

std::int32_t gadget_get_item_colour(std::intptr_t gadget, std::int32_t item, std::int32_t type, std::int32_t column) {
    GadgetObject* g = gadget_object(gadget);
    if (!g)
        return 0;
    return g->table->get_item_colour ? g->table->get_item_colour(*g, item, type, column) : -1;
}

void gadget_set_item_data(std::intptr_t gadget, std::int32_t item, std::intptr_t value) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->set_item_data)
        g->table->set_item_data(*g, item, value);
}

std::intptr_t gadget_get_item_data(std::intptr_t gadget, std::int32_t item) {
    GadgetObject* g = gadget_object(gadget);
    return g && g->table->get_item_data ? g->table->get_item_data(*g, item) : 0;
}

void gadget_set_item_image(std::intptr_t gadget, std::int32_t item, std::uintptr_t image) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->set_item_image)
        g->table->set_item_image(*g, item, image);
}

void gadget_activate(std::intptr_t gadget) {
    GadgetObject* g = gadget_object(gadget);
    if (g && g->table->activate_hook)
        g->table->activate_hook(*g);
}
