// A platform for the dialog engine's native tests: windows and gadgets as
// plain records, with required sizes the test chooses. Its real counterpart
// (tests/win32/dialog) runs the same paths over real controls.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_platform.h"
#include "window/event_bindings.h"
#include "window/event_queue.h"
#include "window/event_types.h"

inline constexpr std::int32_t kResizeEvent = 6;

struct FakeGadget {
    ElementKind kind = ElementKind::button;
    std::u16string text;
    std::uint32_t flags = 0;
    GadgetRequest request;
    LayoutRect rect{-1, -1, -1, -1};  // not placed yet
    int resizes = 0;
    std::int32_t state = 0;
    bool hidden = false;
    bool disabled = false;
    std::intptr_t list = -1;  // the list it was made in
    std::map<std::int32_t, std::int32_t> attributes;
    std::vector<std::u16string> items;
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
        const std::intptr_t handle = new_handle();
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
        if (on_close_window)
            on_close_window(window);  // as the owner's activation runs callbacks
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

    bool has_gadget_kind(ElementKind kind) override { return kind != missing_kind; }
    std::intptr_t create_gadget(const GadgetRequest& r) override {
        if (refuse_gadgets || r.kind == refused_kind)
            return -1;
        const std::intptr_t id = r.id == -1 ? new_handle() : r.id;
        FakeGadget g;
        g.kind = r.kind;
        g.text = r.text;
        g.flags = r.flags;
        g.request = r;
        g.request.text = {};  // the view would dangle
        g.list = lists.empty() ? -1 : lists.back();
        if (r.kind == ElementKind::panel)
            g.attributes[3] = tab_strip_height;
        gadgets[id] = g;
        order.push_back(id);
        // Container kinds become the current list, as the real ones do.
        if (r.kind == ElementKind::container || r.kind == ElementKind::panel || r.kind == ElementKind::scrollarea ||
            (r.kind == ElementKind::canvas && (r.flags & 0x20)))
            lists.push_back(id);
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
        if (g.kind == ElementKind::splitter)
            split(g.request, width, height);
        // A panel's page area: the panel inside its edges and under its tabs.
        if (g.kind == ElementKind::panel) {
            g.attributes[1] = width - 4;
            g.attributes[2] = height - tab_strip_height - 2;
        }
        if (on_resize)
            on_resize(gadget);  // as a resize event's callbacks run at once
    }
    // As the real splitter: the bar in the middle, the panes' containers
    // resized, each reporting its resize as a gadget event.
    void split(const GadgetRequest& r, std::int32_t width, std::int32_t height) {
        const bool vertical = r.flags & 1;
        const std::int32_t bar = r.flags & 2 ? 7 : 4;
        const std::int32_t length = vertical ? width : height;
        const std::int32_t first = (length - bar) / 2;
        const std::int32_t second = length - first - bar;
        gadgets.at(r.first).rect = vertical ? LayoutRect{0, 0, first, height} : LayoutRect{0, 0, width, first};
        gadgets.at(r.second).rect =
            vertical ? LayoutRect{first + bar, 0, second, height} : LayoutRect{0, first + bar, width, second};
        queue_event(EV_GADGET, r.first, -1, kResizeEvent, nullptr, nullptr, 0);
        queue_event(EV_GADGET, r.second, -1, kResizeEvent, nullptr, nullptr, 0);
    }
    std::int32_t list_item_height(std::intptr_t) override { return item_height; }
    std::int32_t edge_height() override { return 2; }
    std::int32_t border_width() override { return 1; }
    void free_gadget(std::intptr_t gadget) override {
        gadgets.erase(gadget);
        ++freed;
    }
    LayoutSize gadget_size(std::intptr_t gadget) override {
        const LayoutRect& r = gadgets.at(gadget).rect;
        return {r.width, r.height};
    }
    std::int32_t text_height(std::intptr_t) override { return caption_height; }
    std::int32_t get_attribute(std::intptr_t gadget, std::int32_t attribute) override {
        const auto& a = gadgets.at(gadget).attributes;
        const auto it = a.find(attribute);
        return it == a.end() ? 0 : it->second;
    }
    void set_attribute(std::intptr_t gadget, std::int32_t attribute, std::int32_t value) override {
        gadgets.at(gadget).attributes[attribute] = value;
    }
    // A panel's pages are lists of their own: page n of panel p is p * 1000 + n.
    std::int32_t add_item(std::intptr_t gadget, std::int32_t position, std::u16string_view text) override {
        FakeGadget& g = gadgets.at(gadget);
        g.items.emplace_back(text);
        if (!lists.empty())
            lists.back() = gadget * 1000 + position;
        return position;
    }
    bool open_list(std::intptr_t gadget, std::int32_t) override {
        if (refuse_lists)
            return false;
        lists.push_back(gadget);
        return true;
    }
    void close_list() override {
        if (lists.empty())
            ++unbalanced_closes;
        else
            lists.pop_back();
    }
    void bind_gadget_events(std::intptr_t gadget, void (*callback)()) override {
        bind_event(EV_GADGET, callback, -1, gadget, kResizeEvent);
        gadget_callbacks[gadget] = callback;
    }
    void unbind_gadget_events(std::intptr_t gadget, void (*callback)()) override {
        unbind_event(EV_GADGET, callback, -1, gadget, kResizeEvent);
        gadget_callbacks.erase(gadget);
    }

    // Gadgets report the required size of their text.
    std::map<std::u16string, LayoutSize> required;
    std::int32_t item_height = 16;
    bool refuse_windows = false;
    bool refuse_gadgets = false;
    ElementKind missing_kind = ElementKind::window;  // a kind the platform lacks
    ElementKind refused_kind = ElementKind::window;  // a kind it cannot make
    std::int32_t caption_height = 13;
    std::int32_t tab_strip_height = 20;
    // Stand-ins for the callbacks a real resize or close may run.
    std::function<void(std::intptr_t gadget)> on_resize;
    std::function<void(std::intptr_t window)> on_close_window;
    std::vector<std::intptr_t> lists;  // open gadget lists, innermost last
    int unbalanced_closes = 0;
    bool refuse_lists = false;  // open_list opens nothing
    int freed = 0;
    std::map<std::intptr_t, void (*)()> gadget_callbacks;

    std::map<std::intptr_t, FakeWindow> windows;
    std::map<std::intptr_t, FakeGadget> gadgets;
    std::vector<std::intptr_t> order;  // gadgets in creation order
    int windows_opened = 0;
    std::intptr_t next_handle = 100000;

private:
    // Never one a definition's number already took.
    std::intptr_t new_handle() {
        while (gadgets.count(next_handle) || windows.count(next_handle))
            ++next_handle;
        return next_handle++;
    }
};
