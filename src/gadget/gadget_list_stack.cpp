// Nesting of gadget lists and its hand-over between top-level windows.
#include "gadget/gadget_list_stack.h"

#include <algorithm>
#include <new>

GadgetStack make_gadget_stack() {
    GadgetStack s;
    s.entries.reset(new (std::nothrow) void*[kGadgetStackStep]());
    s.capacity = s.entries ? kGadgetStackStep : 0;
    return s;
}

bool gadget_list_push(GadgetListState& state, void* window) {
    GadgetStack& s = state.stack;
    if (s.depth >= s.capacity) {
        const std::int32_t grown = s.capacity + kGadgetStackStep;
        std::unique_ptr<void*[]> bigger(new (std::nothrow) void*[grown]());
        if (!bigger)
            return false;
        if (s.entries)
            std::copy_n(s.entries.get(), s.depth, bigger.get());
        s.entries = std::move(bigger);
        s.capacity = grown;
    }
    s.entries[s.depth++] = state.current;
    state.current = window;
    return true;
}

bool gadget_list_pop(GadgetListState& state) {
    GadgetStack& s = state.stack;
    if (s.depth <= 0)
        return false;
    state.current = s.entries[--s.depth];
    return true;
}

void* gadget_list_owner(const GadgetListState& state) {
    return state.stack.depth > 0 ? state.stack.entries[0] : state.current;
}

void gadget_list_save(GadgetListState& state, SavedGadgetList& saved) {
    saved.current = state.current;
    saved.stack = std::move(state.stack);
    state.stack = GadgetStack{};
}

void gadget_list_restore(GadgetListState& state, SavedGadgetList& saved) {
    state.current = saved.current;
    state.stack = std::move(saved.stack);
    saved.stack = GadgetStack{};
}

void gadget_list_start(GadgetListState& state, void* window) {
    if (!state.stack.entries)
        state.stack = make_gadget_stack();
    state.stack.depth = 0;
    state.current = window;
}
