// Create operations of the item gadget kinds: list icon (a list with columns)
// and tree. Each returns the native control for a number, the new id for
// PB_Any, 0 on failure (a live number keeps its old gadget then); a number in
// use loses its old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_ListIcon_CheckBoxes = 0x1;
inline constexpr std::uint32_t PB_ListIcon_MultiSelect = 0x4;
inline constexpr std::uint32_t PB_ListIcon_GridLines = 0x10000;
inline constexpr std::uint32_t PB_ListIcon_FullRowSelect = 0x40000000;
inline constexpr std::uint32_t PB_ListIcon_HeaderDragDrop = 0x10000000;
inline constexpr std::uint32_t PB_ListIcon_AlwaysShowSelection = 0x8;
inline constexpr std::uint32_t PB_ListIcon_ThreeState = 0x40;

// Item states (bits) of list icons and trees.
inline constexpr std::int32_t PB_ListIcon_Selected = 1;
inline constexpr std::int32_t PB_ListIcon_Checked = 2;
inline constexpr std::int32_t PB_ListIcon_Inbetween = 4;
// List icon attributes and item attributes.
inline constexpr std::int32_t PB_ListIcon_DisplayMode = 1;  // 0 large icons, 1 small icons, 2 list, 3 report
inline constexpr std::int32_t PB_ListIcon_ColumnCount = 2;  // read only
inline constexpr std::int32_t PB_ListIcon_ColumnWidth = 1;  // item attribute of a column (item ignored)

inline constexpr std::uint32_t PB_Tree_NoButtons = 0x1;
inline constexpr std::uint32_t PB_Tree_NoLines = 0x2;
inline constexpr std::uint32_t PB_Tree_AlwaysShowSelection = 0x20;
inline constexpr std::uint32_t PB_Tree_CheckBoxes = 0x100;
inline constexpr std::uint32_t PB_Tree_ThreeState = 0x10000;
// Tree item states (bits).
inline constexpr std::int32_t PB_Tree_Selected = 1;
inline constexpr std::int32_t PB_Tree_Checked = 2;
inline constexpr std::int32_t PB_Tree_Expanded = 4;
inline constexpr std::int32_t PB_Tree_Collapsed = 8;
inline constexpr std::int32_t PB_Tree_Inbetween = 16;
// Tree item attribute: the item's sublevel (read only).
inline constexpr std::int32_t PB_Tree_SubLevel = 1;

// A list with columns, the first titled title and width wide. Items' texts
// name their columns separated by LF. ET_LEFT_CLICK, ET_RIGHT_CLICK,
// ET_LEFT_DOUBLE_CLICK, ET_CHANGE (selection or check), ET_DRAG_START.
// State: the first selected item, -1 for none.
[[nodiscard]] std::intptr_t listicon_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            const char16_t* title,
                                            std::int32_t title_width,
                                            std::uint32_t flags = 0);
// A tree of items: gadget_add_item_ex's flags give an item's sublevel (0 the
// top); items are numbered in display order from the top, whatever is folded.
// ET_LEFT_CLICK, ET_LEFT_DOUBLE_CLICK, ET_RIGHT_CLICK, ET_RIGHT_DOUBLE_CLICK,
// ET_CHANGE (selection), ET_DRAG_START. State: the selected item, -1 for none.
[[nodiscard]] std::intptr_t tree_gadget(std::intptr_t id,
                                        std::int32_t x,
                                        std::int32_t y,
                                        std::int32_t width,
                                        std::int32_t height,
                                        std::uint32_t flags = 0);
