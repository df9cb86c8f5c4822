// Create operations of the gadget kinds that hold other gadgets or frame them:
// frame, container, panel, scroll area, splitter and canvas. Each returns the
// native control for a number, the new id for PB_Any, 0 on failure (a live
// number keeps its old gadget then); a number in use loses its old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_Frame_Double = 0x1;
inline constexpr std::uint32_t PB_Frame_Single = 0x2;
inline constexpr std::uint32_t PB_Frame_Flat = 0x3;

inline constexpr std::uint32_t PB_Container_BorderLess = 0x0;
inline constexpr std::uint32_t PB_Container_Flat = 0x1;
inline constexpr std::uint32_t PB_Container_Raised = 0x2;
inline constexpr std::uint32_t PB_Container_Single = 0x4;
inline constexpr std::uint32_t PB_Container_Double = 0x8;

// Gadget event type of a container, panel page, scroll area or canvas whose size changed.
inline constexpr std::int32_t ET_RESIZE = 6;

// A frame around other gadgets: without flags a group box showing text; with a
// flag an empty rectangle with that edge (text is not shown). Holds no gadgets.
[[nodiscard]] std::intptr_t frame_gadget(std::intptr_t id,
                                         std::int32_t x,
                                         std::int32_t y,
                                         std::int32_t width,
                                         std::int32_t height,
                                         const char16_t* text,
                                         std::uint32_t flags = 0);
// A plain area that becomes the current gadget list until gadget_close_list;
// reports its own resizing (ET_RESIZE, and ET_LEFT_CLICK before it), even while events are suppressed.
[[nodiscard]] std::intptr_t container_gadget(std::intptr_t id,
                                             std::int32_t x,
                                             std::int32_t y,
                                             std::int32_t width,
                                             std::int32_t height,
                                             std::uint32_t flags = 0);
