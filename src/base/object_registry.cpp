// Numbered object registry: slot array for numbers, a linked list for handles.
#include "base/object_registry.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>

// A handle-list node. The record follows the links, aligned for any type, so
// that a record address leads back to its node by a fixed offset.
struct ObjectRegistry::Node {
    Node* next;  // older
    Node* previous;  // newer
};

namespace {

constexpr std::size_t kAlign = alignof(std::max_align_t);
constexpr std::size_t kNodeHeader = (sizeof(ObjectRegistry::Node) + kAlign - 1) / kAlign * kAlign;

std::size_t record_bytes(std::int32_t object_size) {
    // The liveness word must fit even in a registry of tiny objects.
    return std::max<std::size_t>(static_cast<std::size_t>(object_size), sizeof(std::uintptr_t));
}

void* new_zeroed(std::size_t bytes) noexcept {
    void* p = ::operator new(bytes, std::align_val_t(kAlign), std::nothrow);
    if (p) std::memset(p, 0, bytes);
    return p;
}

void delete_block(void* p) noexcept { ::operator delete(p, std::align_val_t(kAlign)); }

ObjectRegistry::Node* node_of(void* record) {
    return reinterpret_cast<ObjectRegistry::Node*>(static_cast<std::byte*>(record) - kNodeHeader);
}

void* record_of(ObjectRegistry::Node* node) { return reinterpret_cast<std::byte*>(node) + kNodeHeader; }

// Next live numbered record from the examine index on, or null.
void* next_live_number(ObjectRegistry& registry, std::intptr_t& id) {
    while (registry.examine_index < registry.capacity()) {
        std::int32_t index = registry.examine_index++;
        void* record = registry.slots[index].get();
        if (record && registry_liveness(record) != 0) {
            id = index;
            return record;
        }
    }
    return nullptr;
}

}  // namespace

void ObjectRegistry::RecordDeleter::operator()(void* record) const noexcept { delete_block(record); }

ObjectRegistry::ObjectRegistry(std::int32_t object_size, std::int32_t increment, FreeRoutine free_routine)
    : object_size(object_size), increment(increment), free_routine(free_routine) {
    assert(increment > 0);
    slots.resize(static_cast<std::size_t>(increment));
}

ObjectRegistry::~ObjectRegistry() {
    while (handle_list) {
        Node* node = handle_list;
        handle_list = node->next;
        delete_block(node);
    }
}

std::unique_ptr<ObjectRegistry> registry_create(std::int32_t object_size, std::int32_t increment,
                                                FreeRoutine free_routine) {
    return std::make_unique<ObjectRegistry>(object_size, increment, free_routine);
}

void* registry_allocate(ObjectRegistry& registry, std::intptr_t id) {
    const std::size_t bytes = record_bytes(registry.object_size);
    if (id == PB_Any) {
        void* block = new_zeroed(kNodeHeader + bytes);
        if (!block) return nullptr;
        auto* node = static_cast<ObjectRegistry::Node*>(block);
        node->next = registry.handle_list;
        node->previous = nullptr;
        if (registry.handle_list) registry.handle_list->previous = node;
        registry.handle_list = node;
        return record_of(node);
    }
    assert(id >= 0 && "negative ids other than PB_Any are outside the contract");
    if (id < 0) return nullptr;

    if (id >= registry.capacity()) {
        const std::intptr_t wanted = id + registry.increment;
        if (wanted > INT32_MAX) return nullptr;
        try {
            registry.slots.resize(static_cast<std::size_t>(wanted));
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    auto& slot = registry.slots[static_cast<std::size_t>(id)];
    if (slot) {
        // The number is reused: the previous object goes first, live or not.
        if (registry.free_routine) registry.free_routine(id);
        return slot.get();
    }
    void* record = new_zeroed(bytes);
    if (!record) return nullptr;
    slot.reset(record);
    return record;
}

void registry_release(ObjectRegistry& registry, std::intptr_t id) {
    if (registry.is_number(id)) {
        if (void* record = registry.slots[static_cast<std::size_t>(id)].get())
            std::memset(record, 0, record_bytes(registry.object_size));
        return;
    }
    if (id == 0 || !registry_find(registry, id)) return;
    ObjectRegistry::Node* node = node_of(reinterpret_cast<void*>(id));
    if (node->previous)
        node->previous->next = node->next;
    else
        registry.handle_list = node->next;
    if (node->next) node->next->previous = node->previous;
    // An enumeration standing on this node moves on to its newer neighbour.
    if (registry.examine_cursor == node) registry.examine_cursor = node->previous;
    delete_block(node);
}

void* registry_get(const ObjectRegistry& registry, std::intptr_t id) {
    if (registry.is_number(id)) {
        void* record = registry.slots[static_cast<std::size_t>(id)].get();
        return record && registry_liveness(record) != 0 ? record : nullptr;
    }
    if (id == 0 || id == PB_Any) return nullptr;
    void* record = reinterpret_cast<void*>(id);
    return registry_liveness(record) != 0 ? record : nullptr;
}

void* registry_find(const ObjectRegistry& registry, std::intptr_t id) {
    if (registry.is_number(id)) return registry_get(registry, id);
    for (ObjectRegistry::Node* node = registry.handle_list; node; node = node->next) {
        if (reinterpret_cast<std::intptr_t>(record_of(node)) == id) return record_of(node);
    }
    return nullptr;
}

void registry_free_all(ObjectRegistry& registry) {
    if (!registry.free_routine) return;
    registry.examine_index = 0;
    for (;;) {
        std::intptr_t id = 0;
        if (next_live_number(registry, id)) {
            registry.free_routine(id);
            continue;
        }
        if (!registry.handle_list) break;
        ObjectRegistry::Node* head = registry.handle_list;
        registry.free_routine(reinterpret_cast<std::intptr_t>(record_of(head)));
        if (registry.handle_list == head) {
            // A free routine that did not release its entry would loop forever.
            assert(false && "free routine must release the registry entry");
            registry_release(registry, reinterpret_cast<std::intptr_t>(record_of(head)));
        }
    }
}

void registry_examine_start(ObjectRegistry& registry) {
    registry.examine_index = 0;
    ObjectRegistry::Node* oldest = registry.handle_list;
    while (oldest && oldest->next) oldest = oldest->next;
    registry.examine_cursor = oldest;
}

void* registry_examine_next(ObjectRegistry& registry, std::intptr_t& id) {
    if (void* record = next_live_number(registry, id)) return record;
    if (ObjectRegistry::Node* node = registry.examine_cursor) {
        id = reinterpret_cast<std::intptr_t>(record_of(node));
        registry.examine_cursor = node->previous;
        return record_of(node);
    }
    return nullptr;
}

void registry_examine_abort(ObjectRegistry&) {}

LibraryStateBlock library_state_create(std::size_t size, StateRoutine init, StateRoutine /*release*/) {
    auto bytes = std::make_unique<std::byte[]>(size == 0 ? 1 : size);  // value-initialised: zero
    if (init) init(bytes.get());
    return LibraryStateBlock(std::move(bytes));
}
