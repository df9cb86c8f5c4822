// Seams through which the gadget core plugs into the window library: it installs
// these at its start-up; until then windows work without gadgets.
#pragma once

#include <cstdint>

// Result of a notification handler that asks for the default handling.
inline constexpr std::intptr_t NOT_HANDLED = static_cast<std::intptr_t>(static_cast<std::int32_t>(0xD0D0D0D1u));

// Offers a control's message (WM_COMMAND, WM_NOTIFY, scroll and control-colour
// messages, 13120) to the gadget that owns the control. Native handles are
// passed as void*; returns a result or NOT_HANDLED.
using RouteToGadgetHook =
    std::intptr_t (*)(void* control, void* parent, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

// Makes a top-level window the current gadget list; returns the previous list's window.
using UseGadgetListHook = void* (*)(void* window);

void set_route_to_gadget_hook(RouteToGadgetHook hook);
void set_use_gadget_list_hook(UseGadgetListHook hook);

// NOT_HANDLED while no hook is installed.
[[nodiscard]] std::intptr_t route_to_gadget(void* control,
                                            void* parent,
                                            unsigned message,
                                            std::uintptr_t wparam,
                                            std::intptr_t lparam);
// Does nothing (and returns null) while no hook is installed.
void* use_gadget_list(void* window);
