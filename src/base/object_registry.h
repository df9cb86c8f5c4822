// Numbered object registry: every library keeps the objects it hands to the
// program here, named by a number the program chose or by a #PB_Any handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/object_id.h"

// Destroys one object of a library; called with the object's id.
using FreeRoutine = void (*)(std::intptr_t id);

// Records are zero-filled, aligned for any type, and start with the liveness
// word (pointer-sized: 32 bits on the target): a record whose first word is 0
// counts as no object. Libraries keep trivially copyable structs in them.
class ObjectRegistry {
public:
    ObjectRegistry(std::int32_t object_size, std::int32_t increment, FreeRoutine free_routine);
    ~ObjectRegistry();
    ObjectRegistry(const ObjectRegistry&) = delete;
    ObjectRegistry& operator=(const ObjectRegistry&) = delete;

    struct Node;  // handle-list node; the record follows its two links
    struct RecordDeleter {
        void operator()(void* record) const noexcept;
    };
    using Record = std::unique_ptr<void, RecordDeleter>;

    std::int32_t object_size;
    std::int32_t increment;
    std::vector<Record> slots;  // capacity == slots.size()
    Node* handle_list = nullptr;  // newest first
    FreeRoutine free_routine;
    std::int32_t examine_index = 0;
    Node* examine_cursor = nullptr;

    std::int32_t capacity() const { return static_cast<std::int32_t>(slots.size()); }
    bool is_number(std::intptr_t id) const { return id >= 0 && id < capacity(); }
};

[[nodiscard]] std::unique_ptr<ObjectRegistry> registry_create(std::int32_t object_size, std::int32_t increment,
                                                              FreeRoutine free_routine);

// The record for a new object: a fresh zero-filled handle record for PB_Any,
// else the slot of that number (the free routine runs first if the slot has a
// record). Null when memory runs out; the registry is then unchanged.
[[nodiscard]] void* registry_allocate(ObjectRegistry& registry, std::intptr_t id);

// Zero-fills a numbered record (kept for reuse) or unlinks and frees a handle.
void registry_release(ObjectRegistry& registry, std::intptr_t id);

// Fast lookup: the live record of a number, or the record at a handle's
// address if its liveness word is set (handles are not validated).
[[nodiscard]] void* registry_get(const ObjectRegistry& registry, std::intptr_t id);

// Validating lookup: numbers as registry_get; a handle only if it is in the
// handle list (its liveness word is not looked at).
[[nodiscard]] void* registry_find(const ObjectRegistry& registry, std::intptr_t id);

// Frees every object through the free routine: live numbers ascending, then the
// newest handle until none is left. Each free routine must release its entry.
void registry_free_all(ObjectRegistry& registry);

// Enumeration: live numbered objects ascending, then handles oldest first.
void registry_examine_start(ObjectRegistry& registry);
[[nodiscard]] void* registry_examine_next(ObjectRegistry& registry, std::intptr_t& id);
void registry_examine_abort(ObjectRegistry& registry);

// The liveness word of a record.
[[nodiscard]] inline std::uintptr_t registry_liveness(const void* record) {
    return *static_cast<const std::uintptr_t*>(record);
}

// Typed view of a record for a library's own struct.
template <class T>
[[nodiscard]] T* registry_record(void* record) {
    return static_cast<T*>(record);
}

// ---------------------------------------------------------------- library state blocks
// One zero-filled block per library for the whole process, shared by all threads.
using StateRoutine = void (*)(void* block);

class LibraryStateBlock {
public:
    LibraryStateBlock() = default;
    explicit LibraryStateBlock(std::unique_ptr<std::byte[]> bytes) : bytes_(std::move(bytes)) {}
    void* get() const { return bytes_.get(); }

private:
    std::unique_ptr<std::byte[]> bytes_;
};

// Allocates the block and runs the init routine on it. The release routine is
// accepted and never called: the block lives as long as its library.
[[nodiscard]] LibraryStateBlock library_state_create(std::size_t size, StateRoutine init, StateRoutine release);
[[nodiscard]] inline void* library_state(const LibraryStateBlock& block) { return block.get(); }
