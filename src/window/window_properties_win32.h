// Names of the properties this runtime sets on native windows and controls:
// one list, so that no two libraries pick the same name for different things.
#pragma once

// Top-level windows: the window number + 1, the last focused control, the
// Tab/Shift+Tab accelerators' opt-out, drop registration.
inline constexpr wchar_t kPropWindowId[] = L"PB_WindowID";
inline constexpr wchar_t kPropFocus[] = L"PB_Focus";
inline constexpr wchar_t kPropHotkey[] = L"PB_Hotkey";
inline constexpr wchar_t kPropDropAccept[] = L"PB_DropAccept";

// Controls: the gadget id, the list view's last button-down position, the
// gadget a helper control (the spin's up-down) belongs to.
inline constexpr wchar_t kPropGadgetId[] = L"PB_ID";
inline constexpr wchar_t kPropMouseDown[] = L"PB_MouseDown";
inline constexpr wchar_t kPropHelperOf[] = L"PB_HelperOf";
// Controls of particular gadget kinds: the canvas's gadget id, the list icon's
// last selected item, the editor's word wrap, the tree's three-state mark. The
// shortcut field carries kPropHotkey, so the window leaves its keys to it.
inline constexpr wchar_t kPropGadget[] = L"PB_Gadget";
inline constexpr wchar_t kPropLastSelected[] = L"PB_LastSelected";
inline constexpr wchar_t kPropWordWrap[] = L"PB_WordWrap";
inline constexpr wchar_t kPropThreeState[] = L"PB_3State";

// A window's saved gadget list: swprintf format, the argument is the
// program's module handle.
inline constexpr wchar_t kPropGadgetStackFormat[] = L"PB_GadgetStack_%i";
