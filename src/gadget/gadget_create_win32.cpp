// The creation pipeline every kind follows, the procedure put on every control,
// its tear-down, and the routing of control notifications to the kinds.
#include "gadget/gadget_internal_win32.h"
#include "system/gui_thread.h"
#include "system/wide.h"
#include "window/drop_target.h"
#include "window/event_bindings.h"
#include "window/event_queue.h"
#include "window/gadget_hooks.h"
#include "window/window.h"
#include "window/window_properties_win32.h"

void set_helper_control(HWND helper, HWND owner) {
    SetPropW(helper, kPropHelperOf, owner);
}

HWND create_gadget_control(DWORD ex_style,
                           const wchar_t* class_name,
                           const char16_t* text,
                           DWORD style,
                           std::int32_t x,
                           std::int32_t y,
                           std::int32_t width,
                           std::int32_t height,
                           LONG_PTR control_id) {
    ASSERT_GUI_THREAD();
    if (!gadget_registry())
        return nullptr;
    const auto parent = static_cast<HWND>(gadget_library_state().lists.current);
    return CreateWindowExW(ex_style, class_name, reinterpret_cast<const wchar_t*>(text), style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(control_id), GetModuleHandleW(nullptr), nullptr);
}

GadgetObject* allocate_gadget(std::intptr_t id, HWND control) {
    // A number in use loses its old gadget here (the registry's free routine).
    GadgetObject* g = gadget_registry()->create(id).record;
    if (!g) {
        DestroyWindow(control);
        return nullptr;
    }
    // The old gadget of that number held the new control (it was the current
    // gadget list), and took it along: nothing was made.
    if (!IsWindow(control)) {
        gadget_registry()->release(id);
        return nullptr;
    }
    return g;
}

void abandon_gadget(std::intptr_t id, GadgetObject* record, HWND control) {
    const std::intptr_t gid = id == PB_Any ? reinterpret_cast<std::intptr_t>(record) : id;
    DestroyWindow(control);
    gadget_registry()->release(gid);
}

std::intptr_t register_gadget(std::intptr_t id, GadgetObject* record, HWND control, const GadgetKindTable* table) {
    const std::intptr_t gid = id == PB_Any ? reinterpret_cast<std::intptr_t>(record) : id;
    record->handle = control;
    record->table = table;
    // The identifier first: gadget_subclass_proc finds the record through it.
    SetWindowLongPtrW(control, GWLP_ID, gid);
    record->previous_proc = reinterpret_cast<void*>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gadget_subclass_proc)));
    SetPropW(control, kPropGadgetId, reinterpret_cast<HANDLE>(gid));
    GadgetLibraryState& state = gadget_library_state();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.new_gadget_font), TRUE);
    state.option_run = false;
    return id == PB_Any ? gid : reinterpret_cast<std::intptr_t>(control);
}

void tear_down_gadget(HWND control, std::intptr_t id) {
    GadgetObject* g = gadget_object(id);
    if (g && g->handle == control && g->table && g->table->free_hook)
        g->table->free_hook(*g);
    // Every end of a gadget (freed, its container or window gone, its number
    // used again) drops its callbacks: a later gadget of that number starts clean.
    remove_object_bindings(EV_GADGET, window_number_of(control), id);
    RemovePropW(control, kPropGadgetId);
    remove_drop_target(control);
    SetWindowLongPtrW(control, GWLP_ID, -1);
    remove_queued_events(EV_GADGET, id, -1, -1);
    remove_queued_events(EV_GADGET_DROP, id, -1, -1);
    if (g && g->handle == control)
        gadget_registry()->release(id);
}

LRESULT CALLBACK gadget_subclass_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    GadgetObject* g = gadget_of_control(hwnd);
    if (!g)
        return DefWindowProcW(hwnd, message, wparam, lparam);
    const LONG_PTR id = GetWindowLongPtrW(hwnd, GWLP_ID);
    const auto previous = reinterpret_cast<WNDPROC>(g->previous_proc);
    const LRESULT result = previous ? CallWindowProcW(previous, hwnd, message, wparam, lparam)
                                    : DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY)
        tear_down_gadget(hwnd, id);
    return result;
}

std::intptr_t gadget_route(void* control, void* parent, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    auto hwnd = static_cast<HWND>(control);
    if (!hwnd)
        return NOT_HANDLED;
    if (const auto owner = static_cast<HWND>(GetPropW(hwnd, kPropHelperOf)))
        hwnd = owner;
    const auto id = reinterpret_cast<std::intptr_t>(GetPropW(hwnd, kPropGadgetId));
    if (id != GetWindowLongPtrW(hwnd, GWLP_ID))
        return NOT_HANDLED;
    // The handle check keeps a plain control with identifier 0 away from gadget 0.
    GadgetObject* g = gadget_of_control(hwnd);
    if (!g || !g->table->notification_handler)
        return NOT_HANDLED;
    return g->table->notification_handler(*g, parent, message, wparam, lparam);
}
