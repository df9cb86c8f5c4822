// Create operations of the input gadget kinds: string, checkbox, option, combo
// box, scroll bar, track bar and spin. Each returns the native control for a
// number, the new id for PB_Any, 0 on failure (a live number keeps its old
// gadget then); a number in use loses its old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_String_Password = 0x20;
inline constexpr std::uint32_t PB_String_ReadOnly = 0x800;
inline constexpr std::uint32_t PB_String_Numeric = 0x2000;
inline constexpr std::uint32_t PB_String_LowerCase = 0x10;
inline constexpr std::uint32_t PB_String_UpperCase = 0x8;
inline constexpr std::uint32_t PB_String_BorderLess = 0x20000;
inline constexpr std::int32_t PB_String_MaximumLength = 1;  // attribute

inline constexpr std::uint32_t PB_CheckBox_Right = 0x200;
inline constexpr std::uint32_t PB_CheckBox_Center = 0x300;
inline constexpr std::uint32_t PB_CheckBox_ThreeState = 0x5;
// Check states; the third only through gadget_set_state.
inline constexpr std::int32_t PB_Checkbox_Unchecked = 0;
inline constexpr std::int32_t PB_Checkbox_Checked = 1;
inline constexpr std::int32_t PB_Checkbox_Inbetween = 2;

inline constexpr std::uint32_t PB_ComboBox_Editable = 0x42;
inline constexpr std::uint32_t PB_ComboBox_LowerCase = 0x4000;
inline constexpr std::uint32_t PB_ComboBox_UpperCase = 0x2000;
inline constexpr std::uint32_t PB_ComboBox_Image = 0x10000000;

inline constexpr std::uint32_t PB_ScrollBar_Vertical = 0x1;
inline constexpr std::int32_t PB_ScrollBar_Minimum = 1;  // attributes
inline constexpr std::int32_t PB_ScrollBar_Maximum = 2;
inline constexpr std::int32_t PB_ScrollBar_PageLength = 3;

inline constexpr std::uint32_t PB_TrackBar_Ticks = 0x1;
inline constexpr std::uint32_t PB_TrackBar_Vertical = 0x2;
inline constexpr std::int32_t PB_TrackBar_Minimum = 1;  // attributes
inline constexpr std::int32_t PB_TrackBar_Maximum = 2;

inline constexpr std::uint32_t PB_Spin_ReadOnly = 0x1;
inline constexpr std::uint32_t PB_Spin_Numeric = 0x2;
inline constexpr std::int32_t PB_Spin_Minimum = 1;  // attributes
inline constexpr std::int32_t PB_Spin_Maximum = 2;
// Event types of the spin's arrows.
inline constexpr std::int32_t ET_SPIN_UP = 65580;
inline constexpr std::int32_t ET_SPIN_DOWN = 65581;

// A one-line edit field: ET_CHANGE as the text changes, ET_FOCUS / ET_LOST_FOCUS,
// the other edit notifications as their own types.
[[nodiscard]] std::intptr_t string_gadget(std::intptr_t id,
                                          std::int32_t x,
                                          std::int32_t y,
                                          std::int32_t width,
                                          std::int32_t height,
                                          const char16_t* text,
                                          std::uint32_t flags = 0);
// A check box (ET_LEFT_CLICK); PB_CheckBox_ThreeState clicks between
// unchecked and checked, the in-between state is the program's to set.
[[nodiscard]] std::intptr_t checkbox_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            const char16_t* text,
                                            std::uint32_t flags = 0);
// A radio button (ET_LEFT_CLICK). Options created one right after another form
// one group; any other gadget created in between starts a new group.
[[nodiscard]] std::intptr_t option_gadget(std::intptr_t id,
                                          std::int32_t x,
                                          std::int32_t y,
                                          std::int32_t width,
                                          std::int32_t height,
                                          const char16_t* text);
// A drop-down list, editable with PB_ComboBox_Editable, with item images with
// PB_ComboBox_Image. ET_CHANGE on a new selection or typed text; editable boxes
// also report ET_FOCUS / ET_LOST_FOCUS. State: the selected item, -1 for none.
[[nodiscard]] std::intptr_t combobox_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            std::uint32_t flags = 0);
// A scroll bar that moves its own position (ET_LEFT_CLICK after each move).
[[nodiscard]] std::intptr_t scrollbar_gadget(std::intptr_t id,
                                             std::int32_t x,
                                             std::int32_t y,
                                             std::int32_t width,
                                             std::int32_t height,
                                             std::int32_t minimum,
                                             std::int32_t maximum,
                                             std::int32_t page_length,
                                             std::uint32_t flags = 0);
// A slider between minimum and maximum (negative limits become 0); ET_LEFT_CLICK as it moves.
[[nodiscard]] std::intptr_t trackbar_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            std::int32_t minimum,
                                            std::int32_t maximum,
                                            std::uint32_t flags = 0);
// An edit field with up and down arrows: ET_CHANGE as its text changes,
// ET_SPIN_UP / ET_SPIN_DOWN from the arrows. With PB_Spin_Numeric the text
// follows the value; otherwise the program sets the text.
[[nodiscard]] std::intptr_t spin_gadget(std::intptr_t id,
                                        std::int32_t x,
                                        std::int32_t y,
                                        std::int32_t width,
                                        std::int32_t height,
                                        std::int32_t minimum,
                                        std::int32_t maximum,
                                        std::uint32_t flags = 0);
