// Numbered object registry: slot array for numbers, a linked list for handles.
#include "base/object_registry.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

// A handle-list node. The record follows the links, aligned for any type, so
// that a record address leads back to its node by a fixed offset.
struct ObjectRegistry::Node {
    Node* next;      // older
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
    if (p)
        std::memset(p, 0, bytes);
    return p;
}

void delete_block(void* p) noexcept {
    ::operator delete(p, std::align_val_t(kAlign));
}

void* record_of(ObjectRegistry::Node* node) {
    return reinterpret_cast<std::byte*>(node) + kNodeHeader;
}

}  // namespace

ObjectRegistry::ObjectRegistry(std::int32_t object_size, std::int32_t increment, FreeRoutine free_routine)
    : object_size_(object_size), increment_(increment), free_routine_(free_routine) {
    assert(increment > 0);
    (void)grow_slots(increment);  // on failure the first number grows it
}

ObjectRegistry::~ObjectRegistry() {
    for (std::int32_t i = 0; i < capacity_; ++i)
        delete_block(slots_[i]);
    std::free(slots_);
    while (handle_list_) {
        Node* node = handle_list_;
        handle_list_ = node->next;
        delete_block(node);
    }
}

void* ObjectRegistry::next_live_number(ObjectId& id) {
    while (examine_index_ < capacity()) {
        const std::int32_t index = examine_index_++;
        void* record = slots_[index];
        if (record && registry_liveness(record) != 0) {
            id = index;
            return record;
        }
    }
    return nullptr;
}

ObjectRegistry::Node* ObjectRegistry::handle_node(ObjectId id) const {
    if (id == 0 || id == PB_Any)
        return nullptr;
    for (Node* node = handle_list_; node; node = node->next) {
        if (reinterpret_cast<ObjectId>(record_of(node)) == id)
            return node;
    }
    return nullptr;
}

bool ObjectRegistry::grow_slots(std::int64_t count) noexcept {
    if (count > INT32_MAX || static_cast<std::uint64_t>(count) > SIZE_MAX / sizeof(void*))
        return false;
    auto* bigger = static_cast<void**>(std::realloc(slots_, static_cast<std::size_t>(count) * sizeof(void*)));
    if (!bigger)
        return false;
    std::fill(bigger + capacity_, bigger + count, nullptr);
    slots_ = bigger;
    capacity_ = static_cast<std::int32_t>(count);
    return true;
}

void* ObjectRegistry::allocate(ObjectId id) {
    const std::size_t bytes = record_bytes(object_size_);
    if (id == PB_Any) {
        void* block = new_zeroed(kNodeHeader + bytes);
        if (!block)
            return nullptr;
        auto* node = static_cast<Node*>(block);
        node->next = handle_list_;
        node->previous = nullptr;
        if (handle_list_)
            handle_list_->previous = node;
        handle_list_ = node;
        return record_of(node);
    }
    if (id < 0)
        return nullptr;

    if (id >= capacity() && !grow_slots(static_cast<std::int64_t>(id) + increment_))
        return nullptr;
    if (void* record = slots_[id]) {
        // The number is reused: the previous object goes first, live or not.
        if (free_routine_)
            free_routine_(id);
        return record;
    }
    void* record = new_zeroed(bytes);
    if (!record)
        return nullptr;
    slots_[id] = record;
    return record;
}

void ObjectRegistry::release(ObjectId id) {
    if (is_number(id)) {
        if (void* record = slots_[id])
            std::memset(record, 0, record_bytes(object_size_));
        return;
    }
    // A handle that never became live (its creation failed) is released too.
    Node* node = handle_node(id);
    if (!node)
        return;
    if (node->previous)
        node->previous->next = node->next;
    else
        handle_list_ = node->next;
    if (node->next)
        node->next->previous = node->previous;
    // An enumeration standing on this node moves on to its newer neighbour.
    if (examine_cursor_ == node)
        examine_cursor_ = node->previous;
    delete_block(node);
}

void* ObjectRegistry::get_unchecked(ObjectId id) const {
    if (is_number(id)) {
        void* record = slots_[id];
        return record && registry_liveness(record) != 0 ? record : nullptr;
    }
    if (id == 0 || id == PB_Any)
        return nullptr;
    void* record = reinterpret_cast<void*>(id);
    return registry_liveness(record) != 0 ? record : nullptr;
}

void* ObjectRegistry::find(ObjectId id) const {
    if (is_number(id))
        return get_unchecked(id);
    Node* node = handle_node(id);
    if (!node)
        return nullptr;
    void* record = record_of(node);
    return registry_liveness(record) != 0 ? record : nullptr;
}

void ObjectRegistry::free_all() {
    if (!free_routine_)
        return;
    examine_index_ = 0;
    for (;;) {
        ObjectId id = 0;
        if (next_live_number(id)) {
            free_routine_(id);
            continue;
        }
        if (!handle_list_)
            break;
        Node* head = handle_list_;
        const auto handle = reinterpret_cast<ObjectId>(record_of(head));
        if (registry_liveness(record_of(head)) == 0) {
            release(handle);  // never became an object: nothing to destroy
            continue;
        }
        free_routine_(handle);
        if (handle_list_ == head) {
            // A free routine that did not release its entry would loop forever.
            assert(false && "free routine must release the registry entry");
            release(handle);
        }
    }
}

void ObjectRegistry::examine_start() {
    examine_index_ = 0;
    Node* oldest = handle_list_;
    while (oldest && oldest->next)
        oldest = oldest->next;
    examine_cursor_ = oldest;
}

void* ObjectRegistry::examine_next(ObjectId& id) {
    if (void* record = next_live_number(id))
        return record;
    if (Node* node = examine_cursor_) {
        id = reinterpret_cast<ObjectId>(record_of(node));
        examine_cursor_ = node->previous;
        return record_of(node);
    }
    return nullptr;
}
