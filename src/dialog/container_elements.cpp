// Sizing and placing the container gadgets' elements, and the splitter map
// that lets a pane container's resize event find its splitter.
#include "dialog/container_elements.h"

#include <unordered_map>
#include <vector>

#include "window/event_queue.h"

namespace {

DialogPlatform& platform() {
    return *dialog_platform();
}

LayoutSize child_size(const std::unique_ptr<DialogElement>& child) {
    return child ? child->requested_size() : LayoutSize{};
}

void place_in(DialogElement& child, const LayoutRect& r) {
    child.place(r.x, r.y, r.width, r.height);
}

// Pane container -> its splitter element. Made by the first splitter that
// enters it, so a splitter's end, which only looks, never allocates; kept to
// the process's end, when late ends may still look.
std::unordered_map<std::intptr_t, SplitterElement*>* g_splitters = nullptr;

std::unordered_map<std::intptr_t, SplitterElement*>& splitter_map() {
    if (!g_splitters)
        g_splitters = new std::unordered_map<std::intptr_t, SplitterElement*>;
    return *g_splitters;
}

// Bound to every gadget event of a pane container: the container was sized
// by its splitter, so its pane fills it again.
void on_pane_event() {
    const std::intptr_t container = current_event_object();
    if (!g_splitters)
        return;
    const auto it = g_splitters->find(container);
    if (it == g_splitters->end())
        return;
    SplitterElement& splitter = *it->second;
    if (in_retired_tree(splitter))
        return;
    const LayoutPass pass;
    for (int i = 0; i < 2 && !in_retired_tree(splitter); ++i) {
        if (splitter.containers[i] == container && splitter.panes[i]) {
            const LayoutSize size = platform().gadget_size(container);
            splitter.panes[i]->place(0, 0, size.width, size.height);
        }
    }
}

}  // namespace

// ---------------------------------------------------------------- container

LayoutSize ContainerElement::own_requested_size() {
    borders = container_borders(static_cast<std::uint32_t>(flags), platform().border_width());
    return container_requested_size(layout, borders, child_size(child), {width, height});
}

void ContainerElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    platform().resize(gadget, x, y, w, h);
    if (child && !in_retired_tree(*this))
        place_in(*child, layout.place_child(container_content_area(borders, {w, h})));
}

void ContainerElement::finish() {
    platform().close_list();
}

// ---------------------------------------------------------------- canvas

LayoutSize CanvasContainerElement::own_requested_size() {
    if (!child)
        return at_least(platform().required_size(gadget), {width, height});
    return canvas_requested_size(layout, child->requested_size(), {width, height});
}

void CanvasContainerElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    platform().resize(gadget, x, y, w, h);
    if (child && !in_retired_tree(*this))
        place_in(*child, layout.place_child({0, 0, w, h}));
}

void CanvasContainerElement::finish() {
    platform().close_list();
}

// ---------------------------------------------------------------- frame

LayoutSize FrameElement::own_requested_size() {
    top_inset = frame_top_inset(platform().text_height(gadget));
    return frame_requested_size(layout, top_inset, child_size(child), {width, height});
}

void FrameElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    platform().resize(gadget, x, y, w, h);
    if (child)
        place_in(*child, layout.place_child(frame_content_area(top_inset, {x, y, w, h})));
}

// ---------------------------------------------------------------- panel and tab

LayoutSize TabElement::own_requested_size() {
    return tab_requested_size(layout, child_size(child), {width, height});
}

void TabElement::place(std::int32_t, std::int32_t, std::int32_t w, std::int32_t h) {
    if (child)
        place_in(*child, layout.place_child({0, 0, w, h}));
}

LayoutSize PanelElement::own_requested_size() {
    std::vector<LayoutSize> pages;
    pages.reserve(children.size());
    for (auto& page : children)
        pages.push_back(page->requested_size());
    return panel_requested_size(pages, platform().get_attribute(gadget, 3), {width, height});
}

void PanelElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    platform().resize(gadget, x, y, w, h);
    const std::int32_t page_width = platform().get_attribute(gadget, 1);
    const std::int32_t page_height = platform().get_attribute(gadget, 2);
    for (std::size_t i = 0; i < children.size() && !in_retired_tree(*this); ++i)
        children[i]->place(0, 0, page_width, page_height);
}

void PanelElement::finish() {
    platform().close_list();
}

// ---------------------------------------------------------------- scroll area

LayoutSize ScrollAreaElement::own_requested_size() {
    return scroll_area_requested_size(settings, layout, child_size(child), {width, height});
}

void ScrollAreaElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    platform().resize(gadget, x, y, w, h);
    if (!child || in_retired_tree(*this))
        return;
    const ScrollAreaPlacement placed = scroll_area_place(settings, layout, {w, h});
    if (placed.inner_width)
        platform().set_attribute(gadget, 1, *placed.inner_width);
    if (placed.inner_height && !in_retired_tree(*this))
        platform().set_attribute(gadget, 2, *placed.inner_height);
    if (!in_retired_tree(*this))
        place_in(*child, placed.child);
}

void ScrollAreaElement::finish() {
    platform().close_list();
}

// ---------------------------------------------------------------- splitter

SplitterElement::~SplitterElement() {
    panes[0].reset();
    panes[1].reset();
    leave_map();
}

bool SplitterElement::make_containers() {
    for (std::intptr_t& container : containers) {
        GadgetRequest request;
        request.kind = ElementKind::container;
        container = platform().create_gadget(request);
        if (container == -1)
            return false;
        platform().close_list();
    }
    return true;
}

void SplitterElement::start_panes() {
    open_pane_list(0);
    for (const std::intptr_t container : containers) {
        splitter_map()[container] = this;
        platform().bind_gadget_events(container, on_pane_event);
    }
}

void SplitterElement::open_pane_list(int i) {
    // A list that could not be opened is not closed either (that would close
    // the list around the splitter), and the opening fails: the pane would be
    // made outside the splitter.
    list_open = platform().open_list(containers[i], -2);
    if (!list_open)
        record_dialog_error(errors_, kErrorGadgetNotCreated, {u"splitter", name});
}

void SplitterElement::leave_map() {
    for (const std::intptr_t container : containers) {
        if (container == -1 || !g_splitters)
            continue;
        const auto it = g_splitters->find(container);
        if (it == g_splitters->end() || it->second != this)
            continue;
        g_splitters->erase(it);
        if (dialog_platform())
            platform().unbind_gadget_events(container, on_pane_event);
    }
}

LayoutSize SplitterElement::own_requested_size() {
    const bool automatic[2] = {first_auto, second_auto};
    for (int i = 0; i < 2; ++i) {
        pane_sizes[i] = child_size(panes[i]);
        if (automatic[i])  // an absent pane asks for nothing: minimum 0
            platform().set_attribute(gadget, i + 1,
                                     splitter_auto_minimum(static_cast<std::uint32_t>(flags), pane_sizes[i]));
    }
    return splitter_requested_size(static_cast<std::uint32_t>(flags), pane_sizes[0], pane_sizes[1], {width, height});
}

void SplitterElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    // The splitter sizes its containers, whose events place the panes.
    platform().resize(gadget, x, y, w, h);
}

void SplitterElement::add_child(std::unique_ptr<DialogElement> child, const XmlNode*) {
    // A third child was built outside both containers; it is not kept.
    if (pane_count >= 2)
        return;
    if (list_open) {
        platform().close_list();
        list_open = false;
    }
    child->parent = this;
    panes[pane_count++] = std::move(child);
    if (pane_count == 1) {
        open_pane_list(1);
    }
}

void SplitterElement::finish() {
    // Fewer than two children: the list opened for the missing pane is closed.
    if (list_open) {
        platform().close_list();
        list_open = false;
    }
}

void SplitterElement::set_hidden(bool hidden) {
    hide_own_gadget(hidden);
    for (auto& pane : panes)
        if (pane && (hidden || !pane->folded))
            pane->set_hidden(hidden);
}

DialogElement* SplitterElement::find_by_name(std::u16string_view wanted) {
    if (name_matches(wanted))
        return this;
    for (auto& pane : panes)
        if (pane)
            if (DialogElement* found = pane->find_by_name(wanted))
                return found;
    return nullptr;
}

void SplitterElement::reapply_texts() {
    reapply_own_text();
    for (auto& pane : panes)
        if (pane)
            pane->reapply_texts();
}
