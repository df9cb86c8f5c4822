// Create operations of the explorer gadget kinds: a folder's listing, the
// folder tree and a path field. Each returns the native control for a number,
// the new id for PB_Any, 0 on failure (a live number keeps its old gadget
// then); a number in use loses its old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_Explorer_NoFiles = 0x1;
inline constexpr std::uint32_t PB_Explorer_NoParentFolder = 0x2;
inline constexpr std::uint32_t PB_Explorer_NoFolders = 0x4;
inline constexpr std::uint32_t PB_Explorer_NoDirectoryChange = 0x8;
inline constexpr std::uint32_t PB_Explorer_NoDriveRequester = 0x10;
inline constexpr std::uint32_t PB_Explorer_NoSort = 0x20;
inline constexpr std::uint32_t PB_Explorer_AutoSort = 0x40;
inline constexpr std::uint32_t PB_Explorer_DrivesOnly = 0x80;
inline constexpr std::uint32_t PB_Explorer_Editable = 0x100;
inline constexpr std::uint32_t PB_Explorer_NoMyDocuments = 0x200;
inline constexpr std::uint32_t PB_Explorer_BorderLess = 0x100000;
inline constexpr std::uint32_t PB_Explorer_MultiSelect = 0x200000;
inline constexpr std::uint32_t PB_Explorer_GridLines = 0x400000;
inline constexpr std::uint32_t PB_Explorer_HeaderDragDrop = 0x800000;
inline constexpr std::uint32_t PB_Explorer_AlwaysShowSelection = 0x1000000;
inline constexpr std::uint32_t PB_Explorer_FullRowSelect = 0x2000000;
inline constexpr std::uint32_t PB_Explorer_NoLines = 0x4000000;
inline constexpr std::uint32_t PB_Explorer_NoButtons = 0x8000000;

// Explorer list item states (bits) and the list's attribute.
inline constexpr std::int32_t PB_Explorer_Selected = 1;
inline constexpr std::int32_t PB_Explorer_File = 2;
inline constexpr std::int32_t PB_Explorer_Directory = 4;
inline constexpr std::int32_t PB_Explorer_DisplayMode = 1;  // 0 large icons, 1 small icons, 2 list, 3 report
inline constexpr std::int32_t PB_Explorer_ColumnWidth = 1;  // item attribute of a column (item ignored)

// The entries of a folder (path, optionally ending in a pattern such as
// "*.txt") with the columns Name, Size, Type, Attributes, Created, Modified
// and Accessed; folders first. A double click on a folder opens it (ET_CHANGE)
// unless PB_Explorer_NoDirectoryChange; the listing follows changes on disk.
// Clicks and ET_DRAG_START as a list. Text: the folder shown, with a trailing
// separator; setting it shows another. State: the first selected entry.
// Columns after Name can be removed, and the program can add its own and set
// their cells (kept until the listing is filled again).
[[nodiscard]] std::intptr_t explorerlist_gadget(std::intptr_t id,
                                                std::int32_t x,
                                                std::int32_t y,
                                                std::int32_t width,
                                                std::int32_t height,
                                                const char16_t* path,
                                                std::uint32_t flags = 0);
// A tree of folders under "My Documents" and "My Computer" (its drives),
// opened as they are expanded; ET_CHANGE when another folder is selected.
// Text: the selected folder's path; setting it selects that folder.
[[nodiscard]] std::intptr_t explorertree_gadget(std::intptr_t id,
                                                std::int32_t x,
                                                std::int32_t y,
                                                std::int32_t width,
                                                std::int32_t height,
                                                const char16_t* path,
                                                std::uint32_t flags = 0);
// An editable path with the drives to choose from and the shell's completion;
// ET_LEFT_CLICK when a drive is picked or a typed path confirmed with Enter.
[[nodiscard]] std::intptr_t explorercombo_gadget(std::intptr_t id,
                                                 std::int32_t x,
                                                 std::int32_t y,
                                                 std::int32_t width,
                                                 std::int32_t height,
                                                 const char16_t* path,
                                                 std::uint32_t flags = 0);
