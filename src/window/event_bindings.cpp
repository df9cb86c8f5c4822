// The binding table: a string-keyed map from "event:window:object:type" to a
// newest-first list of callbacks.
#include "window/event_bindings.h"
#include "system/gui_thread.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace {

struct CallbackNode {
    CallbackNode* next;
    EventCallback callback;
    bool active;
};

struct BindingEntry {
    CallbackNode* head = nullptr;
    std::intptr_t window = 0;
    std::int32_t event = 0;
    std::intptr_t object = 0;
    // Dispatches of this entry in progress (callbacks may queue events that
    // dispatch the same key again). Nodes are only unlinked when it is 0, so a
    // running walk never meets freed memory.
    int running = 0;
    bool has_inactive = false;
};

struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const noexcept { return std::hash<std::string_view>{}(key); }
};

using BindingMap = std::unordered_map<std::string, BindingEntry, KeyHash, std::equal_to<>>;

BindingMap& table() {
    static BindingMap* map = [] {
        auto* m = new BindingMap;
        m->reserve(1024);
        return m;
    }();
    return *map;
}

void free_nodes(BindingEntry& entry) {
    while (CallbackNode* node = entry.head) {
        entry.head = node->next;
        delete node;
    }
}

// Unlinks inactive nodes once no walk is running; true if the list is now empty.
bool sweep(BindingEntry& entry) {
    if (entry.running > 0 || !entry.has_inactive)
        return entry.head == nullptr;
    CallbackNode** link = &entry.head;
    while (CallbackNode* node = *link) {
        if (node->active) {
            link = &node->next;
        } else {
            *link = node->next;
            delete node;
        }
    }
    entry.has_inactive = false;
    return entry.head == nullptr;
}

// Formats into a fixed buffer: dispatch runs for every event and should not allocate.
struct Key {
    std::array<char, 96> text;
    int length;
    std::string_view view() const { return {text.data(), static_cast<std::size_t>(length)}; }
};

Key make_key(std::int32_t event, std::intptr_t window, std::intptr_t object, std::int32_t type) {
    Key key{};
    key.length = std::snprintf(key.text.data(), key.text.size(), "%ld:%lld:%lld:%ld", static_cast<long>(event),
                               static_cast<long long>(window), static_cast<long long>(object), static_cast<long>(type));
    return key;
}

void run_entry(std::string_view key) {
    BindingMap& map = table();
    auto it = map.find(key);
    if (it == map.end())
        return;
    // The map is node-based: the entry stays put while callbacks bind other keys.
    BindingEntry& entry = it->second;
    ++entry.running;
    for (CallbackNode* node = entry.head; node; node = node->next) {
        if (node->active)
            node->callback();
    }
    --entry.running;
    if (sweep(entry))
        map.erase(map.find(key));
}

}  // namespace

std::string binding_key(std::int32_t event, std::intptr_t window, std::intptr_t object, std::int32_t type) {
    return std::string(make_key(event, window, object, type).view());
}

void bind_event(std::int32_t event,
                EventCallback callback,
                std::intptr_t window,
                std::intptr_t object,
                std::int32_t type) {
    ASSERT_GUI_THREAD();
    if (!callback)
        return;
    Key key = make_key(event, window, object, type);
    // Made first: when memory runs out, no empty entry is left behind.
    auto node = std::make_unique<CallbackNode>(CallbackNode{nullptr, callback, true});
    BindingMap& map = table();
    auto it = map.find(key.view());
    if (it == map.end())
        it = map.emplace(std::string(key.view()), BindingEntry{}).first;
    node->next = it->second.head;
    it->second.head = node.release();
    it->second.window = window;
    it->second.event = event;
    it->second.object = object;
}

bool unbind_event(std::int32_t event,
                  EventCallback callback,
                  std::intptr_t window,
                  std::intptr_t object,
                  std::int32_t type) {
    ASSERT_GUI_THREAD();
    BindingMap& map = table();
    auto it = map.find(make_key(event, window, object, type).view());
    if (it == map.end())
        return false;
    for (CallbackNode* node = it->second.head; node; node = node->next) {
        if (node->active && node->callback == callback) {
            node->active = false;
            it->second.has_inactive = true;
            if (sweep(it->second))
                map.erase(it);
            return true;
        }
    }
    return false;
}

void dispatch_bound_callbacks(std::int32_t event, std::intptr_t window, std::intptr_t object, std::int32_t type) {
    ASSERT_GUI_THREAD();
    const std::array<Key, 5> keys = {
        make_key(event, window, object, type), make_key(event, window, object, -1), make_key(event, window, -1, -1),
        make_key(event, -1, -1, -1),           make_key(event, -1, object, type),
    };
    for (std::size_t i = 0; i < keys.size(); ++i) {
        // With -1 among the event's own fields two patterns can coincide; their
        // callbacks must still run once per event.
        bool seen = false;
        for (std::size_t j = 0; j < i && !seen; ++j)
            seen = keys[j].view() == keys[i].view();
        if (!seen)
            run_entry(keys[i].view());
    }
}

namespace {

// Drops the entries that match; an entry whose callbacks are running (one of
// them is closing its own window or freeing its own gadget) is deactivated now
// and unlinked when its walk ends.
template <typename Match>
void remove_entries_if(Match matches) {
    BindingMap& map = table();
    for (auto it = map.begin(); it != map.end();) {
        BindingEntry& entry = it->second;
        if (!matches(entry)) {
            ++it;
        } else if (entry.running > 0) {
            for (CallbackNode* node = entry.head; node; node = node->next)
                node->active = false;
            entry.has_inactive = true;
            ++it;
        } else {
            free_nodes(entry);
            it = map.erase(it);
        }
    }
}

}  // namespace

void remove_window_bindings(std::intptr_t window) {
    ASSERT_GUI_THREAD();
    remove_entries_if([window](const BindingEntry& entry) { return entry.window == window; });
}

void remove_object_bindings(std::int32_t event, std::intptr_t window, std::intptr_t object) {
    ASSERT_GUI_THREAD();
    remove_entries_if([=](const BindingEntry& entry) {
        return entry.event == event && entry.window == window && entry.object == object;
    });
}

void clear_bindings() {
    remove_entries_if([](const BindingEntry&) { return true; });
}

std::size_t binding_entry_count() {
    return table().size();
}
