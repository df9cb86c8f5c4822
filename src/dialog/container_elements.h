// The elements of container gadgets: container, canvas with children, frame,
// panel with its tab pages, scroll area and splitter. Each measures and places
// through container_layout.h and reaches its gadget through the platform.
#pragma once

#include <cstdint>

#include "dialog/container_layout.h"
#include "dialog/dialog_element.h"
#include "dialog/dialog_errors.h"

// The container gadget's list is open while the children are built; finish closes it.
class ContainerElement final : public SingleChildElement {
public:
    ContainerElement() : SingleChildElement(ElementKind::container, kSingleChildMargin) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
    void finish() override;

    LayoutSize borders;  // set in each size pass
};

// A canvas with PB_Canvas_Container: its children cover it whole.
class CanvasContainerElement final : public SingleChildElement {
public:
    CanvasContainerElement() : SingleChildElement(ElementKind::canvas, kSingleChildMargin) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
    void finish() override;
};

// A frame holds no gadget list: its child lives beside it, inside its insets.
class FrameElement final : public SingleChildElement {
public:
    FrameElement() : SingleChildElement(ElementKind::frame, kFrameMargin) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;

    std::int32_t top_inset = 0;  // the caption's height, set in each size pass
};

// One page of the enclosing panel; it has no gadget of its own.
class TabElement final : public SingleChildElement {
public:
    TabElement() : SingleChildElement(ElementKind::tab, kSingleChildMargin) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;

    std::intptr_t panel = -1;
    std::int32_t page = -1;
};

// Its children are its tab pages, all placed on the panel's page area.
class PanelElement final : public MultiChildElement {
public:
    PanelElement() : MultiChildElement(ElementKind::panel) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
    void finish() override;

    std::int32_t next_page = 0;  // the index the next tab gets
};

class ScrollAreaElement final : public SingleChildElement {
public:
    ScrollAreaElement() : SingleChildElement(ElementKind::scrollarea, kSingleChildMargin) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
    void finish() override;

    ScrollAreaSettings settings;
};

// Two panes, each in a container gadget of its own that the splitter gadget
// sizes; the containers' resize events place the panes (the splitter map
// finds the element from the container).
class SplitterElement final : public DialogElement {
public:
    explicit SplitterElement(DialogErrorSink& errors) : DialogElement(ElementKind::splitter), errors_(errors) {}
    // Destroys the panes and leaves the splitter map.
    ~SplitterElement() override;
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
    // The first child goes into the first container, the second into the
    // second; a splitter keeps two.
    void add_child(std::unique_ptr<DialogElement> child, const XmlNode* node) override;
    void set_hidden(bool hidden) override;
    DialogElement* find_by_name(std::u16string_view wanted) override;
    void finish() override;
    void reapply_texts() override;

    // Makes both containers, each with its list closed again; false when one
    // cannot be made.
    [[nodiscard]] bool make_containers();
    // Once the splitter gadget holds them: opens the first container's list
    // for the first pane, enters both in the splitter map and binds the pane
    // handlers. A pane's list that cannot be opened fails the opening: its
    // pane would be made outside the splitter.
    void start_panes();

    bool first_auto = false;  // FIRSTMIN / SECONDMIN "AUTO"
    bool second_auto = false;
    LayoutSize pane_sizes[2];
    std::intptr_t containers[2] = {-1, -1};
    std::unique_ptr<DialogElement> panes[2];
    std::int32_t pane_count = 0;
    bool list_open = false;  // a container's list is open for the pane being built

private:
    void leave_map();
    // Opens the list of container `i` for its pane; records the failure.
    void open_pane_list(int i);

    DialogErrorSink& errors_;
};
