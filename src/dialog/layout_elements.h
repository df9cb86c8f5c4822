// The elements that only measure and place: hbox/vbox, multibox, empty,
// singlebox, gridbox, and the window element at the top of every tree.
#pragma once

#include <cstdint>

#include "dialog/box_layout.h"
#include "dialog/dialog_element.h"
#include "dialog/dialog_errors.h"
#include "dialog/grid_layout.h"
#include "dialog/window_size_limits.h"

class BoxElement final : public MultiChildElement {
public:
    explicit BoxElement(ElementKind kind);
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;

    BoxLayout box;
};

class MultiBoxElement final : public MultiChildElement {
public:
    MultiBoxElement() : MultiChildElement(ElementKind::multibox) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
};

class EmptyElement final : public LeafElement {
public:
    EmptyElement() : LeafElement(ElementKind::empty) {}
    LayoutSize own_requested_size() override { return {width, height}; }
};

class SingleBoxElement final : public SingleChildElement {
public:
    SingleBoxElement() : SingleChildElement(ElementKind::singlebox, kSingleChildMargin) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
};

// Its children are kept in the order they were added, which is also the
// row-by-row order of their cells.
class GridElement final : public MultiChildElement {
public:
    // Errors of adding a child (a full table) go to `errors`. `cells_left` is
    // shared by every grid of a definition: their tables grow out of it, so
    // that many grids cannot together take what one may not. It belongs to
    // the opening, so the grid lets go of it once its children are in.
    GridElement(DialogErrorSink& errors, std::int64_t& cells_left)
        : MultiChildElement(ElementKind::gridbox), errors_(errors), cells_left_(&cells_left) {}
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
    void add_child(std::unique_ptr<DialogElement> child, const XmlNode* node) override;
    void finish() override {
        grid.finish();
        cells_left_ = nullptr;
    }

    GridLayout grid;

private:
    DialogErrorSink& errors_;
    std::int64_t* cells_left_;
};

class WindowElement final : public SingleChildElement {
public:
    WindowElement() : SingleChildElement(ElementKind::window, kWindowMargin) {}
    // Leaves the window map and drops the resize binding; the tree goes after.
    ~WindowElement() override;
    LayoutSize own_requested_size() override;
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;

    std::intptr_t window = -1;  // its number, or its handle when opened with PB_Any
    std::uint32_t window_flags = 0;
    WindowSizeLimits limits;
    bool registered = false;  // in the window map, resize handler bound
};

// The window map and the resize handler (dialog.cpp).
void register_dialog_window(WindowElement& element);
void unregister_dialog_window(WindowElement& element);
