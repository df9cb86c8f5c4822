// The shape every library of numbered objects shares: typed records in an
// ObjectRegistry, validated lookups, the result rule of create operations and
// the free operation's PB_Any case.
#pragma once

#include <cstdint>
#include <type_traits>

#include "base/object_registry.h"

template <class Record>
class ObjectLibrary {
    static_assert(std::is_trivially_copyable_v<Record>, "records are zero-filled and reused as raw memory");
    static_assert(sizeof(Record) >= sizeof(std::uintptr_t), "a record starts with its liveness word");

public:
    ObjectLibrary(std::int32_t increment, FreeRoutine free_routine)
        : registry_(static_cast<std::int32_t>(sizeof(Record)), increment, free_routine) {}

    // A new object's zero-filled record and its id (the record's address
    // after PB_Any). A number in use loses its old object first. Empty for
    // negative ids other than PB_Any and when memory runs out.
    struct Created {
        Record* record = nullptr;
        ObjectId id = 0;
        bool any = false;  // created with PB_Any

        explicit operator bool() const { return record != nullptr; }
        // What the create operation returns: the new id after PB_Any, else
        // number_result (the object's platform handle, by convention).
        [[nodiscard]] std::intptr_t result(std::intptr_t number_result) const { return any ? id : number_result; }
    };
    [[nodiscard]] Created create(ObjectId id) {
        auto* record = static_cast<Record*>(registry_.allocate(id));
        if (!record)
            return {};
        return {record, id == PB_Any ? reinterpret_cast<ObjectId>(record) : id, id == PB_Any};
    }

    // The live record of an id, or null: a handle must be one this library
    // handed out and still holds, so stale and foreign ids are never read.
    [[nodiscard]] Record* find(ObjectId id) const { return static_cast<Record*>(registry_.find(id)); }

    // The same for an id that cannot be stale or foreign (see
    // ObjectRegistry::get_unchecked); skips the handle-list walk.
    [[nodiscard]] Record* find_unchecked(ObjectId id) const {
        return static_cast<Record*>(registry_.get_unchecked(id));
    }

    // The free operation's common part: PB_Any frees every object through the
    // free routine and gives null; any other id gives its live record (null
    // for no object), which the caller destroys and then releases.
    [[nodiscard]] Record* free_all_or_find(ObjectId id) {
        if (id == PB_Any) {
            registry_.free_all();
            return nullptr;
        }
        return find(id);
    }

    void release(ObjectId id) { registry_.release(id); }
    void free_all() { registry_.free_all(); }

    // Objects held: live numbers and handles (for tests and diagnostics).
    [[nodiscard]] std::int32_t count() const {
        std::int32_t n = 0;
        registry_.examine_start();
        for (ObjectId id = 0; registry_.examine_next(id);)
            ++n;
        return n;
    }

private:
    mutable ObjectRegistry registry_;  // mutable: an enumeration keeps a cursor
};

// A library made on first use and never destroyed, for objects a worker
// thread may still use while the program ends (open files, listings).
template <class Record, FreeRoutine free_routine>
[[nodiscard]] ObjectLibrary<Record>& lasting_library() {
    static auto* const library = new ObjectLibrary<Record>(16, free_routine);
    return *library;
}
