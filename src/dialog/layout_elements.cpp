// Operations 1 and 2 of the layout elements over the layout arithmetic, and
// the grid's own add child.
#include "dialog/layout_elements.h"

#include <vector>

#include "dialog/layout_attributes.h"
#include "xml/xml_document.h"

namespace {

std::vector<LayoutSize> children_sizes(const std::vector<std::unique_ptr<DialogElement>>& children) {
    std::vector<LayoutSize> sizes;
    sizes.reserve(children.size());
    for (const auto& child : children)
        sizes.push_back(child->requested_size());
    return sizes;
}

void place_at(DialogElement& element, const LayoutRect& r) {
    element.place(r.x, r.y, r.width, r.height);
}

// The value of the node's first attribute called `name`, if any.
std::optional<std::u16string_view> attribute(const XmlNode* node, std::u16string_view name) {
    if (!node)
        return std::nullopt;
    const std::int32_t index = xml_attribute_index(node, name);
    if (index < 0)
        return std::nullopt;
    return xml_attribute_value(node, index);
}

}  // namespace

// ---------------------------------------------------------------- hbox, vbox

BoxElement::BoxElement(ElementKind kind) : MultiChildElement(kind) {
    box.axis = kind == ElementKind::hbox ? BoxAxis::horizontal : BoxAxis::vertical;
}

LayoutSize BoxElement::own_requested_size() {
    const std::vector<LayoutSize> sizes = children_sizes(children);
    return box.measure(sizes, {width, height});
}

void BoxElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    std::vector<bool> folded;
    folded.reserve(children.size());
    for (const auto& child : children)
        folded.push_back(child->folded);
    const auto rects = box.place({x, y, w, h}, folded);
    for (std::size_t i = 0; i < children.size() && i < rects.size() && !in_retired_tree(*this); ++i)
        if (rects[i])
            place_at(*children[i], *rects[i]);
}

// ---------------------------------------------------------------- multibox

LayoutSize MultiBoxElement::own_requested_size() {
    const std::vector<LayoutSize> sizes = children_sizes(children);
    return multibox_requested_size(sizes, {width, height});
}

void MultiBoxElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    for (std::size_t i = 0; i < children.size() && !in_retired_tree(*this); ++i)
        children[i]->place(x, y, w, h);
}

// ---------------------------------------------------------------- singlebox

LayoutSize SingleBoxElement::own_requested_size() {
    std::optional<LayoutSize> child_size;
    if (child)
        child_size = child->requested_size();
    return singlebox_measure(layout, child_size, {width, height});
}

void SingleBoxElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    if (child)
        place_at(*child, layout.place_child({x, y, w, h}));
}

// ---------------------------------------------------------------- gridbox

void GridElement::add_child(std::unique_ptr<DialogElement> child, const XmlNode* node) {
    const std::int64_t cells_before = grid.table_cells();
    const GridPlacement placed =
        grid.add_child(read_grid_span(attribute(node, u"COLSPAN")), read_grid_span(attribute(node, u"ROWSPAN")),
                       cells_left_ ? cells_before + *cells_left_ : cells_before);
    if (placed.error != GridError::none) {
        // The child is not kept: a full table fails the opening rather than
        // dropping the child silently.
        // Unnamed, the child and the grid are named by their keywords.
        record_dialog_error(errors_, kErrorGridFull,
                            {child->name.empty() ? xml_node_name(node) : std::u16string_view(child->name),
                             name.empty() ? std::u16string_view(u"gridbox") : std::u16string_view(name)});
        return;
    }
    if (cells_left_)
        *cells_left_ -= grid.table_cells() - cells_before;
    MultiChildElement::add_child(std::move(child), node);
}

LayoutSize GridElement::own_requested_size() {
    const std::vector<LayoutSize> sizes = children_sizes(children);
    return grid.measure(sizes, {width, height});
}

void GridElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    const std::vector<LayoutRect> rects = grid.place({x, y, w, h});
    for (std::size_t i = 0; i < children.size() && i < rects.size() && !in_retired_tree(*this); ++i)
        place_at(*children[i], rects[i]);
}

// ---------------------------------------------------------------- window

WindowElement::~WindowElement() {
    if (registered)
        unregister_dialog_window(*this);
}

LayoutSize WindowElement::own_requested_size() {
    const LayoutSize child_size = child ? child->requested_size() : LayoutSize{};
    layout.child = child_size;
    const WindowSizeRequest request = window_requested_size(limits, layout, child_size, {width, height});
    if (request.has_bounds && window != -1)
        dialog_platform()->window_bounds(window, request.min_width, request.min_height, request.max_width,
                                         request.max_height);
    return request.size;
}

void WindowElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    if (child)
        place_at(*child, window_child_rect(layout, {x, y, w, h}));
}
