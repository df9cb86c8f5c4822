// What the dialog engine needs from windows and gadgets, as one small
// interface: the tree, its attributes and the layout runs are portable, and
// only this reaches the platform. Windows installs the real one at start-up.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialog/element_kind.h"
#include "dialog/layout_types.h"

// The creation arguments of one gadget element, already read from its attributes.
struct GadgetRequest {
    ElementKind kind = ElementKind::button;
    std::intptr_t id = -1;  // a number, or -1 for a new handle
    std::u16string_view text;
    std::uint32_t flags = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t page = 0;
    std::int32_t colour = 0;
    // Scroll area: the inner size (-1 automatic, made 0 at first) and the scroll step.
    std::int32_t inner_width = -1;
    std::int32_t inner_height = -1;
    std::int32_t step = 10;
    // Splitter: the gadgets of its two panes.
    std::intptr_t first = -1;
    std::intptr_t second = -1;
};

class DialogPlatform {
public:
    // ---------------------------------------------------------------- windows
    // The window's number (its handle for id -1), 0 on failure.
    [[nodiscard]] virtual std::intptr_t open_window(std::intptr_t id,
                                                    std::int32_t x,
                                                    std::int32_t y,
                                                    std::int32_t width,
                                                    std::int32_t height,
                                                    std::u16string_view title,
                                                    std::uint32_t flags,
                                                    void* parent) = 0;
    virtual void close_window(std::intptr_t window) = 0;
    [[nodiscard]] virtual bool is_window(std::intptr_t window) = 0;
    // Inner size.
    virtual void resize_window(std::intptr_t window, std::int32_t width, std::int32_t height) = 0;
    [[nodiscard]] virtual LayoutSize window_size(std::intptr_t window) = 0;
    // Limits as window_bounds takes them (kIgnore keeps one).
    virtual void window_bounds(std::intptr_t window,
                               std::int32_t min_width,
                               std::int32_t min_height,
                               std::int32_t max_width,
                               std::int32_t max_height) = 0;
    // Centres by the window flags (screen or parent) without showing.
    virtual void centre_window(std::intptr_t window, std::uint32_t flags, void* parent) = 0;
    virtual void show_window(std::intptr_t window) = 0;

    // ---------------------------------------------------------------- gadgets
    // Whether this build has the gadget kind at all.
    [[nodiscard]] virtual bool has_gadget_kind(ElementKind kind) = 0;
    // The gadget's id (request.id if it is a number, else the new handle), or
    // -1 when it could not be created.
    [[nodiscard]] virtual std::intptr_t create_gadget(const GadgetRequest& request) = 0;
    virtual void set_state(std::intptr_t gadget, std::int32_t state) = 0;
    virtual void set_text(std::intptr_t gadget, std::u16string_view text) = 0;
    virtual void disable(std::intptr_t gadget, bool disabled) = 0;
    virtual void hide(std::intptr_t gadget, bool hidden) = 0;
    [[nodiscard]] virtual LayoutSize required_size(std::intptr_t gadget) = 0;
    virtual void resize(std::intptr_t gadget,
                        std::int32_t x,
                        std::int32_t y,
                        std::int32_t width,
                        std::int32_t height) = 0;
    // The height of one row of a list view; 0 if it has none.
    [[nodiscard]] virtual std::int32_t list_item_height(std::intptr_t gadget) = 0;
    // The height of the platform's 3D edge (one side).
    [[nodiscard]] virtual std::int32_t edge_height() = 0;
    // The width of the platform's thin window border (one side).
    [[nodiscard]] virtual std::int32_t border_width() = 0;
    virtual void free_gadget(std::intptr_t gadget) = 0;
    // The gadget's current size.
    [[nodiscard]] virtual LayoutSize gadget_size(std::intptr_t gadget) = 0;
    // The height of the gadget's current text in its font (a frame's caption).
    [[nodiscard]] virtual std::int32_t text_height(std::intptr_t gadget) = 0;
    [[nodiscard]] virtual std::int32_t get_attribute(std::intptr_t gadget, std::int32_t attribute) = 0;
    virtual void set_attribute(std::intptr_t gadget, std::int32_t attribute, std::int32_t value) = 0;
    // A panel's new page at position; its index, or -1.
    virtual std::int32_t add_item(std::intptr_t gadget, std::int32_t position, std::u16string_view text) = 0;
    // Gadget lists: where the gadgets created next go. False when nothing was
    // opened (then no close is due).
    virtual bool open_list(std::intptr_t gadget, std::int32_t item) = 0;
    virtual void close_list() = 0;
    // A callback for every event type of one gadget.
    virtual void bind_gadget_events(std::intptr_t gadget, void (*callback)()) = 0;
    virtual void unbind_gadget_events(std::intptr_t gadget, void (*callback)()) = 0;

protected:
    ~DialogPlatform() = default;
};

// The interface the dialog engine uses; null until one is installed (Windows:
// init_dialog_library; native tests install their own).
[[nodiscard]] DialogPlatform* dialog_platform();
void set_dialog_platform(DialogPlatform* platform);
// The build's own implementation: windows and gadgets on Windows, none natively.
[[nodiscard]] DialogPlatform* native_dialog_platform();
