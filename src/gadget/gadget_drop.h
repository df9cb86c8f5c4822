// Gadgets as drop targets: the drop queues EV_GADGET_DROP with the gadget as
// object and its window's number as window.
#pragma once

#include <cstdint>

#include "window/drop_target.h"

// Accepts format with actions on the gadget's control (actions 0 removes it);
// private_type keys DROP_FORMAT_PRIVATE entries. False for an id that names no
// gadget, or when the platform refuses the registration.
bool enable_gadget_drop(std::intptr_t gadget,
                        std::uint32_t format,
                        std::uint32_t actions,
                        std::uint32_t private_type = 0);
