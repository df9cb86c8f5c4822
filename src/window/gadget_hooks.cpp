// The hooks the gadget core installs into the window library.
#include "window/gadget_hooks.h"

namespace {
RouteToGadgetHook g_route = nullptr;
UseGadgetListHook g_use_list = nullptr;
}  // namespace

void set_route_to_gadget_hook(RouteToGadgetHook hook) {
    g_route = hook;
}
void set_use_gadget_list_hook(UseGadgetListHook hook) {
    g_use_list = hook;
}

std::intptr_t route_to_gadget(void* control,
                              void* parent,
                              unsigned message,
                              std::uintptr_t wparam,
                              std::intptr_t lparam) {
    if (!g_route || !control)
        return NOT_HANDLED;
    return g_route(control, parent, message, wparam, lparam);
}

void* use_gadget_list(void* window) {
    return g_use_list ? g_use_list(window) : nullptr;
}
