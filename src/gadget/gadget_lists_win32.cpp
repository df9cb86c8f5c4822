// Gadget lists: where new gadgets go, the nesting stack, and its hand-over
// between top-level windows through a saved record on each window.
#include <cwchar>

#include "gadget/gadget_internal_win32.h"
#include "window/window_properties_win32.h"

namespace {

const wchar_t* stack_property() {
    static wchar_t name[40];
    if (!name[0])
        std::swprintf(name, 40, kPropGadgetStackFormat,
                      static_cast<int>(reinterpret_cast<std::intptr_t>(GetModuleHandleW(nullptr))));
    return name;
}

SavedGadgetList* saved_list_of(void* window) {
    return window ? static_cast<SavedGadgetList*>(GetPropW(static_cast<HWND>(window), stack_property())) : nullptr;
}

LRESULT CALLBACK gadget_stack_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    SavedGadgetList* saved = saved_list_of(hwnd);
    if (!saved)
        return DefWindowProcW(hwnd, message, wparam, lparam);
    const auto previous = reinterpret_cast<WNDPROC>(saved->previous_proc);
    if (message == WM_NCDESTROY) {
        GadgetListState& lists = gadget_library_state().lists;
        // The window in use is going: new gadgets have nowhere to go until the next window.
        if (gadget_list_owner(lists) == hwnd) {
            lists.current = nullptr;
            lists.stack.depth = 0;
        }
        RemovePropW(hwnd, stack_property());
        delete saved;
    }
    return previous ? CallWindowProcW(previous, hwnd, message, wparam, lparam)
                    : DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

void* gadget_use_list(void* window) {
    GadgetLibraryState& state = gadget_library_state();
    GadgetListState& lists = state.lists;
    void* owner = gadget_list_owner(lists);
    if (!window)
        return owner;
    if (SavedGadgetList* left = saved_list_of(owner))
        gadget_list_save(lists, *left);
    if (SavedGadgetList* saved = saved_list_of(window)) {
        gadget_list_restore(lists, *saved);
    } else {
        const auto hwnd = static_cast<HWND>(window);
        auto* record = new (std::nothrow) SavedGadgetList{};
        if (record && SetPropW(hwnd, stack_property(), record)) {
            gadget_list_start(lists, window);
            record->window = window;
            record->previous_proc = reinterpret_cast<void*>(
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gadget_stack_proc)));
        } else {
            // Without its record the lists would never hear of the window's
            // end: no list, so gadgets for it fail instead of going to a
            // window that may be gone.
            delete record;
            lists.current = nullptr;
            lists.stack.depth = 0;
        }
    }
    state.option_run = false;
    return owner;
}

void end_gadget_lists() {
    // Windows still open keep their procedure; their records go with them.
    gadget_library_state().lists = GadgetListState{};
}

void push_gadget_list(void* window) {
    if (gadget_registry())
        gadget_list_push(gadget_library_state().lists, window);
}

void gadget_close_list() {
    if (gadget_registry())
        gadget_list_pop(gadget_library_state().lists);
}

void* current_gadget_list() {
    return gadget_registry() ? gadget_library_state().lists.current : nullptr;
}

void set_current_gadget_list(void* window) {
    if (gadget_registry())
        gadget_library_state().lists.current = window;
}
