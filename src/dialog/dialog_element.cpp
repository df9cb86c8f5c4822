// The common element operations and the three families.
#include "dialog/dialog_element.h"

#include "system/utf.h"

DialogElement::~DialogElement() {
    if (pending_slot)
        *pending_slot = nullptr;
}

LayoutSize DialogElement::requested_size() {
    // A folded element is not asked at all: measuring stores sizes.
    if (folded)
        return {};
    return common_requested_size(false, own_requested_size(), {width, height});
}

bool in_retired_tree(const DialogElement& element) {
    const DialogElement* e = &element;
    while (e->parent)
        e = e->parent;
    return e->retired;
}

void DialogElement::hide_own_gadget(bool hidden) {
    if (gadget != -1)
        dialog_platform()->hide(gadget, hidden);
}

bool DialogElement::name_matches(std::u16string_view wanted) const {
    return has_name && ascii_equal_ignore_case(name, wanted);
}

void DialogElement::reapply_own_text() {
    if (gadget != -1 && has_text)
        dialog_platform()->set_text(gadget, text);
}

// ---------------------------------------------------------------- leaf

DialogElement* LeafElement::find_by_name(std::u16string_view wanted) {
    return name_matches(wanted) ? this : nullptr;
}

// ---------------------------------------------------------------- multi-child

void MultiChildElement::add_child(std::unique_ptr<DialogElement> child, const XmlNode*) {
    child->parent = this;
    children.push_back(std::move(child));
}

void MultiChildElement::set_hidden(bool hidden) {
    hide_own_gadget(hidden);
    for (auto& child : children)
        if (hidden || !child->folded)
            child->set_hidden(hidden);
}

DialogElement* MultiChildElement::find_by_name(std::u16string_view wanted) {
    if (name_matches(wanted))
        return this;
    for (auto& child : children)
        if (DialogElement* found = child->find_by_name(wanted))
            return found;
    return nullptr;
}

void MultiChildElement::reapply_texts() {
    reapply_own_text();
    for (auto& child : children)
        child->reapply_texts();
}

// ---------------------------------------------------------------- single-child

void SingleChildElement::add_child(std::unique_ptr<DialogElement> new_child, const XmlNode*) {
    new_child->parent = this;
    child = std::move(new_child);
}

void SingleChildElement::set_hidden(bool hidden) {
    hide_own_gadget(hidden);
    if (child && (hidden || !child->folded))
        child->set_hidden(hidden);
}

DialogElement* SingleChildElement::find_by_name(std::u16string_view wanted) {
    if (name_matches(wanted))
        return this;
    return child ? child->find_by_name(wanted) : nullptr;
}

void SingleChildElement::reapply_texts() {
    reapply_own_text();
    if (child)
        child->reapply_texts();
}
