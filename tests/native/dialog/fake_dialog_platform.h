// A platform for the dialog engine's native tests: windows and gadgets as
// plain records, with required sizes the test chooses. Its real counterpart
// (tests/win32/dialog) runs the same paths over real controls.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_platform.h"
#include "window/event_bindings.h"

struct FakeGadget {
    ElementKind kind;
    std::u16string text;
    std::uint32_t flags = 0;
    GadgetRequest request;
    LayoutRect rect{-1, -1, -1, -1};  // not placed yet
    int resizes = 0;
    std::int32_t state = 0;
    bool hidden = false;
    bool disabled = false;
};

struct FakeWindow {
    std::u16string title;
    std::uint32_t flags = 0;
    LayoutSize size;
    bool visible = false;
    bool centred = false;
    std::vector<std::int32_t> bounds;  // the last window_bounds call
};

class FakeDialogPlatform final : public DialogPlatform {
public:
    std::intptr_t open_window(std::intptr_t id,
                              std::int32_t,
                              std::int32_t,
                              std::int32_t width,
                              std::int32_t height,
                              std::u16string_view title,
                              std::uint32_t flags,
                              void*) override {
        if (refuse_windows)
            return 0;
        // As the real one: the new handle for -1, else a non-zero platform handle.
        const std::intptr_t handle = next_handle++;
        const std::intptr_t number = id == -1 ? handle : id;
        FakeWindow& w = windows[number] = FakeWindow{};
        w.title = title;
        w.flags = flags;
        w.size = {width, height};
        ++windows_opened;
        return handle;
    }
    // As the real one, closing drops the window's event bindings.
    void close_window(std::intptr_t window) override {
        windows.erase(window);
        remove_window_bindings(window);
    }
    bool is_window(std::intptr_t window) override { return windows.count(window) != 0; }
    void resize_window(std::intptr_t window, std::int32_t width, std::int32_t height) override {
        if (auto it = windows.find(window); it != windows.end())
            it->second.size = {width, height};
    }
    LayoutSize window_size(std::intptr_t window) override {
        const auto it = windows.find(window);
        return it == windows.end() ? LayoutSize{} : it->second.size;
    }
    void window_bounds(std::intptr_t window,
                       std::int32_t min_width,
                       std::int32_t min_height,
                       std::int32_t max_width,
                       std::int32_t max_height) override {
        if (auto it = windows.find(window); it != windows.end())
            it->second.bounds = {min_width, min_height, max_width, max_height};
    }
    void centre_window(std::intptr_t window, std::uint32_t, void*) override { windows[window].centred = true; }
    void show_window(std::intptr_t window) override { windows[window].visible = true; }

    bool has_gadget_kind(ElementKind kind) override {
        return kind != ElementKind::checkbox && kind != ElementKind::option && kind != ElementKind::canvas;
    }
    std::intptr_t create_gadget(const GadgetRequest& r) override {
        if (refuse_gadgets)
            return -1;
        const std::intptr_t id = r.id == -1 ? next_handle++ : r.id;
        FakeGadget g{r.kind, std::u16string(r.text), r.flags, r};
        g.request.text = {};  // the view would dangle
        gadgets[id] = g;
        order.push_back(id);
        return id;
    }
    void set_state(std::intptr_t gadget, std::int32_t state) override { gadgets.at(gadget).state = state; }
    void set_text(std::intptr_t gadget, std::u16string_view text) override { gadgets.at(gadget).text = text; }
    void disable(std::intptr_t gadget, bool disabled) override { gadgets.at(gadget).disabled = disabled; }
    void hide(std::intptr_t gadget, bool hidden) override { gadgets.at(gadget).hidden = hidden; }
    LayoutSize required_size(std::intptr_t gadget) override {
        const auto it = required.find(gadgets.at(gadget).text);
        return it == required.end() ? LayoutSize{} : it->second;
    }
    void resize(std::intptr_t gadget,
                std::int32_t x,
                std::int32_t y,
                std::int32_t width,
                std::int32_t height) override {
        FakeGadget& g = gadgets.at(gadget);
        g.rect = {x, y, width, height};
        ++g.resizes;
    }
    std::int32_t list_item_height(std::intptr_t) override { return item_height; }
    std::int32_t edge_height() override { return 2; }

    // Gadgets report the required size of their text.
    std::map<std::u16string, LayoutSize> required;
    std::int32_t item_height = 16;
    bool refuse_windows = false;
    bool refuse_gadgets = false;

    std::map<std::intptr_t, FakeWindow> windows;
    std::map<std::intptr_t, FakeGadget> gadgets;
    std::vector<std::intptr_t> order;  // gadgets in creation order
    int windows_opened = 0;
    std::intptr_t next_handle = 100000;
};
