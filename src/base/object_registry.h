// Numbered object registry: every library keeps the objects it hands to the
// program here, named by a number the program chose or by a PB_Any handle.
// Libraries use it through ObjectLibrary (base/object_library.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/object_id.h"

// Destroys one object of a library; called with the object's id.
using FreeRoutine = void (*)(ObjectId id);

// Records are zero-filled, aligned for any type, and start with the liveness
// word (pointer-sized: 32 bits on the target): a record whose first word is 0
// counts as no object. Libraries keep trivially copyable structs in them.
class ObjectRegistry {
public:
    ObjectRegistry(std::int32_t object_size, std::int32_t increment, FreeRoutine free_routine);
    ~ObjectRegistry();
    ObjectRegistry(const ObjectRegistry&) = delete;
    ObjectRegistry& operator=(const ObjectRegistry&) = delete;

    // The record for a new object: a fresh zero-filled handle record for
    // PB_Any, else the slot of that number (the free routine runs first if
    // the slot has a record). Null for other negative ids and when the slot
    // array cannot grow to the number; the registry is then unchanged.
    // Records are small allocations: where the program installed its
    // out-of-memory end, a record that cannot be had ends the process.
    [[nodiscard]] void* allocate(ObjectId id);

    // Zero-fills a numbered record (kept for reuse) or unlinks and frees a handle.
    void release(ObjectId id);

    // Validating lookup: the live record of a number, or of a handle that is
    // in the handle list; null for anything else.
    [[nodiscard]] void* find(ObjectId id) const;

    // Lookup without the handle-list walk: a handle is taken to be a record
    // address and read. Only for ids that cannot be stale or foreign (one read
    // from a live control that carries it); anything else reads freed memory.
    [[nodiscard]] void* get_unchecked(ObjectId id) const;

    // Frees every object through the free routine: live numbers ascending,
    // then the newest handle until none is left (a handle that never became
    // live is only released). Each free routine must release its entry.
    void free_all();

    // Enumeration: live numbered objects ascending, then handles oldest first.
    void examine_start();
    [[nodiscard]] void* examine_next(ObjectId& id);

    [[nodiscard]] std::int32_t capacity() const { return capacity_; }
    [[nodiscard]] bool has_handles() const { return handle_list_ != nullptr; }

    struct Node;  // handle-list node; the record follows its two links

private:
    [[nodiscard]] bool is_number(ObjectId id) const { return id >= 0 && id < capacity(); }
    [[nodiscard]] void* next_live_number(ObjectId& id);
    [[nodiscard]] Node* handle_node(ObjectId id) const;  // null unless id is in the handle list
    [[nodiscard]] bool grow_slots(std::int64_t count) noexcept;

    std::int32_t object_size_;
    std::int32_t increment_;
    // Record per number (null until first used). A plain block grown with
    // realloc: a huge number is refused as a result, never a length error
    // or the end of the process.
    void** slots_ = nullptr;
    std::int32_t capacity_ = 0;
    Node* handle_list_ = nullptr;  // newest first
    FreeRoutine free_routine_;
    std::int32_t examine_index_ = 0;
    Node* examine_cursor_ = nullptr;
};

// The liveness word of a record.
[[nodiscard]] inline std::uintptr_t registry_liveness(const void* record) {
    return *static_cast<const std::uintptr_t*>(record);
}
