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

// Panel attributes (0 while it has no tab).
inline constexpr std::int32_t PB_Panel_ItemWidth = 1;   // client width of the page
inline constexpr std::int32_t PB_Panel_ItemHeight = 2;  // client height of the page
inline constexpr std::int32_t PB_Panel_TabHeight = 3;   // height of the tab strip

// Tabs, each with a page of gadgets. The panel is the current gadget list until
// gadget_close_list; each added tab's page then takes the new gadgets.
// gadget_open_list(panel, tab) reopens a page. ET_CHANGE when the user picks a tab.
// State: the selected tab. Item data lives with the page.
[[nodiscard]] std::intptr_t panel_gadget(std::intptr_t id,
                                         std::int32_t x,
                                         std::int32_t y,
                                         std::int32_t width,
                                         std::int32_t height);

inline constexpr std::uint32_t PB_ScrollArea_Flat = 0x1;
inline constexpr std::uint32_t PB_ScrollArea_Raised = 0x2;
inline constexpr std::uint32_t PB_ScrollArea_Single = 0x4;
inline constexpr std::uint32_t PB_ScrollArea_BorderLess = 0x8;
inline constexpr std::uint32_t PB_ScrollArea_Center = 0x10;
// Scroll area attributes.
inline constexpr std::int32_t PB_ScrollArea_InnerWidth = 1;
inline constexpr std::int32_t PB_ScrollArea_InnerHeight = 2;
inline constexpr std::int32_t PB_ScrollArea_X = 3;
inline constexpr std::int32_t PB_ScrollArea_Y = 4;
inline constexpr std::int32_t PB_ScrollArea_ScrollStep = 5;

// A window with scroll bars over an inner area of inner_width × inner_height,
// which becomes the current gadget list until gadget_close_list. ET_LEFT_CLICK
// as it scrolls (a line is step pixels); ET_RESIZE when its size changes.
// With PB_ScrollArea_Center an inner area smaller than the window is centred.
[[nodiscard]] std::intptr_t scrollarea_gadget(std::intptr_t id,
                                              std::int32_t x,
                                              std::int32_t y,
                                              std::int32_t width,
                                              std::int32_t height,
                                              std::int32_t inner_width,
                                              std::int32_t inner_height,
                                              std::int32_t step = 10,
                                              std::uint32_t flags = 0);

inline constexpr std::uint32_t PB_Splitter_Vertical = 0x1;     // panes side by side
inline constexpr std::uint32_t PB_Splitter_Separator = 0x2;    // a raised bar
inline constexpr std::uint32_t PB_Splitter_FirstFixed = 0x4;   // resizing keeps the first pane
inline constexpr std::uint32_t PB_Splitter_SecondFixed = 0x8;  // resizing keeps the second pane
// Splitter attributes: the panes' minimum sizes; read only: the two gadgets.
inline constexpr std::int32_t PB_Splitter_FirstMinimumSize = 1;
inline constexpr std::int32_t PB_Splitter_SecondMinimumSize = 2;
inline constexpr std::int32_t PB_Splitter_FirstGadget = 3;
inline constexpr std::int32_t PB_Splitter_SecondGadget = 4;

// Two gadgets on either side of a bar the user drags (ET_LEFT_CLICK when it
// moves); the gadgets move into the splitter. State: the first pane's size.
// Fails when either gadget does not exist or they are the same.
[[nodiscard]] std::intptr_t splitter_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            std::intptr_t first,
                                            std::intptr_t second,
                                            std::uint32_t flags = 0);
