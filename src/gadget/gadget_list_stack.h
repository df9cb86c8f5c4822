// The current gadget list (the native window new gadgets are created in), its
// nesting stack, and the state a top-level window keeps while another is used.
#pragma once

#include <cstdint>
#include <memory>

inline constexpr std::int32_t kGadgetStackStep = 10;

struct GadgetStack {
    std::unique_ptr<void*[]> entries;  // null while a window's saved record owns the array
    std::int32_t depth = 0;
    std::int32_t capacity = 0;
};

struct GadgetListState {
    void* current = nullptr;
    GadgetStack stack;
};

// What a top-level window keeps of the list state while it is not in use.
struct SavedGadgetList {
    void* window = nullptr;
    void* current = nullptr;
    GadgetStack stack;
    void* previous_proc = nullptr;  // the window's procedure before the gadget-stack one
};

// A zero-filled stack of the first capacity; capacity 0 when memory runs out.
[[nodiscard]] GadgetStack make_gadget_stack();

// Remembers the current list and makes window current; false (and no change)
// when the stack cannot grow.
bool gadget_list_push(GadgetListState& state, void* window);
// Back to the list before the last push; false at depth 0.
bool gadget_list_pop(GadgetListState& state);
// The window whose list is in use: the bottom of the stack, else the current list.
[[nodiscard]] void* gadget_list_owner(const GadgetListState& state);

// Moves the list state into saved (the state gives up its stack array).
void gadget_list_save(GadgetListState& state, SavedGadgetList& saved);
// Takes the list state back from saved, dropping any array the state still had.
void gadget_list_restore(GadgetListState& state, SavedGadgetList& saved);
// A fresh list state for a window seen the first time.
void gadget_list_start(GadgetListState& state, void* window);
