// Dialog objects, opening a window from a definition, and the layout runs.
#include "dialog/dialog.h"

#include <algorithm>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

#include "base/object_library.h"
#include "dialog/dialog_build.h"
#include "system/utf.h"
#include "window/event_bindings.h"
#include "window/event_queue.h"
#include "window/window.h"
#include "xml/xml_document.h"

namespace {

struct DialogState final : DialogErrorSink {
    std::unique_ptr<WindowElement> root;
    std::string error;
    bool failed = false;

    bool has_error() const noexcept override { return failed; }
    void keep_error(std::string_view message) noexcept override {
        failed = true;
        try {
            error.assign(message);
        } catch (const std::bad_alloc&) {
            error.clear();  // the failure stays without its text
        }
    }
    void clear_error() {
        failed = false;
        error.clear();
    }
};

// The registry record; the state pointer is the liveness word.
struct DialogRecord {
    DialogState* state;
};

std::unique_ptr<ObjectLibrary<DialogRecord>> g_dialogs;

// Layout passes running (nested through callbacks), and what was let go
// meanwhile: destroyed when the last pass ends.
int g_layout_passes = 0;
std::vector<std::unique_ptr<WindowElement>> g_retired_trees;
std::vector<std::unique_ptr<DialogState>> g_retired_states;

// A tree let go: destroyed now, or retired while a pass may stand in it. A
// retired tree is out of the window map at once, so no resize reaches it.
void retire_tree(std::unique_ptr<WindowElement> root) {
    if (!root)
        return;
    if (g_layout_passes == 0)
        return;  // `root` is destroyed here
    root->retired = true;
    if (root->registered)
        unregister_dialog_window(*root);
    g_retired_trees.push_back(std::move(root));
}

void retire_state(std::unique_ptr<DialogState> state) {
    if (g_layout_passes > 0)
        g_retired_states.push_back(std::move(state));
}
DialogPlatform* g_platform = nullptr;
// Window number -> its window element, for the resize handler.
std::unordered_map<std::intptr_t, WindowElement*>* g_windows = nullptr;

DialogState* find_dialog(std::intptr_t id) {
    if (!g_dialogs)
        return nullptr;
    const DialogRecord* record = g_dialogs->find(id);
    return record ? record->state : nullptr;
}

void free_dialog_record(std::intptr_t id) {
    free_dialog(id);
}

std::u16string decimal_text(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// Drops the tree; the window goes too when it still exists.
void close_dialog_tree(DialogState& state) {
    if (!state.root)
        return;
    const std::intptr_t window = state.root->window;
    // A tree whose window number a newer tree took over no longer owns that window.
    const bool owns_window = state.root->registered;
    retire_tree(std::move(state.root));
    if (owns_window && g_platform && g_platform->is_window(window))
        g_platform->close_window(window);
}

void on_size_window() {
    if (!g_windows || !g_platform)
        return;
    const auto it = g_windows->find(current_event_window());
    if (it == g_windows->end())
        return;
    const LayoutSize inner = g_platform->window_size(it->first);
    // Place only: the sizes stored by the last size pass stand.
    const LayoutPass pass;
    it->second->place(0, 0, inner.width, inner.height);
}

// The `window` element to open: the main node itself, or the first matching
// child of a `dialogs` main node.
const XmlNode* find_window_node(const XmlNode* main, std::u16string_view name) {
    const auto matches = [name](const XmlNode* node) {
        if (!ascii_equal_ignore_case(xml_node_name(node), u"window"))
            return false;
        if (name.empty())
            return true;
        const std::int32_t i = xml_attribute_index(node, u"NAME");
        return i >= 0 && ascii_equal_ignore_case(xml_attribute_value(node, i), name);
    };
    if (!main)
        return nullptr;
    if (ascii_equal_ignore_case(xml_node_name(main), u"window"))
        return matches(main) ? main : nullptr;
    if (!ascii_equal_ignore_case(xml_node_name(main), u"dialogs"))
        return nullptr;
    for (const XmlNode* node = main->first_child; node; node = node->next_sibling)
        if (node->kind == XML_NODE_ELEMENT && matches(node))
            return node;
    return nullptr;
}

// Size pass, then the window at least `at_least` and everything placed in it.
// Runs inside a LayoutPass: `root` stays readable, but may be retired.
void lay_out(WindowElement& root, LayoutSize at_least) {
    const LayoutSize wanted = root.requested_size();
    // Sizes stay within the layout range whatever the caller or the definition asks.
    const std::int32_t w = clamp_layout(std::max(at_least.width, wanted.width));
    const std::int32_t h = clamp_layout(std::max(at_least.height, wanted.height));
    if (!root.retired)
        root.place(0, 0, w, h);
    if (!root.retired)
        g_platform->resize_window(root.window, w, h);
}

}  // namespace

LayoutPass::LayoutPass() {
    ++g_layout_passes;
}

LayoutPass::~LayoutPass() {
    if (--g_layout_passes > 0)
        return;
    // Destroying runs no callbacks; taken out first all the same.
    std::vector<std::unique_ptr<WindowElement>> trees;
    std::vector<std::unique_ptr<DialogState>> states;
    trees.swap(g_retired_trees);
    states.swap(g_retired_states);
}

DialogPlatform* dialog_platform() {
    return g_platform;
}

void set_dialog_platform(DialogPlatform* platform) {
    g_platform = platform;
}

void register_dialog_window(WindowElement& element) {
    if (!g_windows)
        return;
    auto [it, added] = g_windows->try_emplace(element.window, &element);
    if (!added) {
        // A stale tree of a window that was closed and whose number is reused:
        // it keeps no entry and no binding of its own any more.
        it->second->registered = false;
        unbind_event(EV_SIZE_WINDOW, on_size_window, element.window);
        it->second = &element;
    }
    // Before the binding, which may throw: the element's end then still
    // removes its entry.
    element.registered = true;
    bind_event(EV_SIZE_WINDOW, on_size_window, element.window);
}

void unregister_dialog_window(WindowElement& element) {
    element.registered = false;
    if (!g_windows)
        return;
    const auto it = g_windows->find(element.window);
    if (it == g_windows->end() || it->second != &element)
        return;
    g_windows->erase(it);
    unbind_event(EV_SIZE_WINDOW, on_size_window, element.window);
}

void init_dialog_library() {
    if (!g_dialogs)
        g_dialogs = std::make_unique<ObjectLibrary<DialogRecord>>(10, free_dialog_record);
    if (!g_windows)
        g_windows = new std::unordered_map<std::intptr_t, WindowElement*>;
    g_platform = native_dialog_platform();
}

void end_dialog_library() {
    if (g_dialogs)
        g_dialogs->free_all();
    if (g_windows)
        g_windows->clear();
}

std::intptr_t create_dialog(std::intptr_t number) {
    if (!g_dialogs || (number < 0 && number != PB_Any))
        return 0;
    auto* state = new (std::nothrow) DialogState;
    if (!state)
        return 0;
    const auto made = g_dialogs->create(number);
    if (!made) {
        delete state;
        return 0;
    }
    made.record->state = state;
    // A dialog has no platform object: a number's result is its record address.
    return made.result(reinterpret_cast<std::intptr_t>(made.record));
}

void free_dialog(std::intptr_t dialog) {
    if (!g_dialogs)
        return;
    const DialogRecord* record = g_dialogs->free_all_or_find(dialog);
    if (!record)
        return;
    // The number goes first: closing the window runs callbacks (the owner's
    // activation), and one of them may free or make this dialog again.
    std::unique_ptr<DialogState> state(record->state);
    g_dialogs->release(dialog);
    close_dialog_tree(*state);
    retire_state(std::move(state));
}

bool is_dialog(std::intptr_t dialog) {
    return find_dialog(dialog) != nullptr;
}

int open_xml_dialog(std::intptr_t dialog,
                    std::intptr_t xml,
                    std::u16string_view name,
                    std::int32_t x,
                    std::int32_t y,
                    std::int32_t width,
                    std::int32_t height,
                    void* parent) {
    DialogState* state = find_dialog(dialog);
    if (!state)
        return 0;
    state->clear_error();
    // A failed opening leaves no tree, whichever step it failed at. The earlier
    // tree also goes before a new window opens, so that a window number used
    // again cannot lose its new map entry to the old tree.
    retire_tree(std::move(state->root));
    // The tree up to an XML error would open a window that silently lacks the
    // rest of its definition.
    if (const XmlDocument* document = is_xml(xml); document && document->error_code != 0) {
        const std::u16string line = decimal_text(document->error_line);
        const std::u16string column = decimal_text(document->error_column);
        // Only a parse out of memory has no room for its message either.
        const std::u16string_view message = xml_string(document->error_message);
        record_dialog_error(*state, kErrorNotWellFormed, {line, column, message.empty() ? u"out of memory" : message});
        return 0;
    }
    const XmlNode* window_node = find_window_node(xml_main_node(xml), name);
    if (!window_node) {
        record_dialog_error(*state, kErrorWindowNotFound);
        return 0;
    }
    if (!g_platform) {
        record_dialog_error(*state, kErrorWindowNotOpened);
        return 0;
    }
    // Making gadgets and laying them out run callbacks (handlers the definition
    // names among them); one may free this dialog or open it again.
    const LayoutPass pass;
    DialogBuild build{*state, *g_platform, -1, 0, {}, kMaxDialogGridCells};
    state->root = make_window_element(build, window_node, x, y, width, height, parent);
    WindowElement* const tree = state->root.get();
    if (!tree)
        return 0;
    const auto still_ours = [&] { return find_dialog(dialog) == state && state->root.get() == tree; };
    build_children(build, *tree, window_node->first_child, 1);
    if (!state->has_error() && still_ours())
        finish_element(build, *tree);
    if (!still_ours())
        return 0;
    if (state->has_error()) {
        close_dialog_tree(*state);
        return 0;
    }
    WindowElement& root = *tree;
    lay_out(root, {width, height});
    if (!still_ours())
        return 0;
    if (root.window_flags & (PB_Window_ScreenCentered | PB_Window_WindowCentered))
        g_platform->centre_window(root.window, root.window_flags, parent);
    if (!(root.window_flags & PB_Window_Invisible))
        g_platform->show_window(root.window);
    return 1;
}

std::intptr_t dialog_window(std::intptr_t dialog) {
    const DialogState* state = find_dialog(dialog);
    return state && state->root ? state->root->window : -1;
}

std::intptr_t dialog_gadget(std::intptr_t dialog, std::u16string_view name) {
    const DialogState* state = find_dialog(dialog);
    if (!state || !state->root)
        return -1;
    const DialogElement* found = state->root->find_by_name(name);
    return found ? found->gadget : -1;
}

std::string dialog_error(std::intptr_t dialog) {
    const DialogState* state = find_dialog(dialog);
    return state ? state->error : std::string();
}

void refresh_dialog(std::intptr_t dialog) {
    DialogState* state = find_dialog(dialog);
    if (!state || !state->root || !g_platform)
        return;
    const LayoutPass pass;
    lay_out(*state->root, g_platform->window_size(state->root->window));
}
