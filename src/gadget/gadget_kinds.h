// Create operations of the gadget kinds the program uses. Each returns the
// native control for a number, the new id for PB_Any, 0 on failure (a live
// number keeps its old gadget then); a number in use loses its old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_Button_Default = 0x1;
inline constexpr std::uint32_t PB_Button_Left = 0x100;
inline constexpr std::uint32_t PB_Button_Right = 0x200;
inline constexpr std::uint32_t PB_Button_MultiLine = 0x2000;
inline constexpr std::uint32_t PB_Button_Toggle = 0x1003;

inline constexpr std::uint32_t PB_Text_Center = 0x1;
inline constexpr std::uint32_t PB_Text_Right = 0x2;
inline constexpr std::uint32_t PB_Text_Border = 0x20000;

inline constexpr std::uint32_t PB_HyperLink_Underline = 0x1;

inline constexpr std::uint32_t PB_ListView_MultiSelect = 0x800;
inline constexpr std::uint32_t PB_ListView_ClickSelect = 0x8;

inline constexpr std::uint32_t PB_ProgressBar_Smooth = 0x1;
inline constexpr std::uint32_t PB_ProgressBar_Vertical = 0x4;

// Progress bar attributes.
inline constexpr std::int32_t PB_ProgressBar_Minimum = 1;
inline constexpr std::int32_t PB_ProgressBar_Maximum = 2;

// A push button, or a toggle button (PB_Button_Toggle) whose state is pressed.
[[nodiscard]] std::intptr_t button_gadget(std::intptr_t id,
                                          std::int32_t x,
                                          std::int32_t y,
                                          std::int32_t width,
                                          std::int32_t height,
                                          const char16_t* text,
                                          std::uint32_t flags = 0);
// A label; reports no events.
[[nodiscard]] std::intptr_t text_gadget(std::intptr_t id,
                                        std::int32_t x,
                                        std::int32_t y,
                                        std::int32_t width,
                                        std::int32_t height,
                                        const char16_t* text,
                                        std::uint32_t flags = 0);
// A self-painted link that shows hover_colour under the mouse and reports clicks.
[[nodiscard]] std::intptr_t hyperlink_gadget(std::intptr_t id,
                                             std::int32_t x,
                                             std::int32_t y,
                                             std::int32_t width,
                                             std::int32_t height,
                                             const char16_t* text,
                                             std::int32_t hover_colour,
                                             std::uint32_t flags = 0);
// A list of text lines, single selection unless PB_ListView_MultiSelect / ClickSelect.
[[nodiscard]] std::intptr_t listview_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            std::uint32_t flags = 0);
// A bar between minimum and maximum; state -1 runs it as a marquee.
[[nodiscard]] std::intptr_t progressbar_gadget(std::intptr_t id,
                                               std::int32_t x,
                                               std::int32_t y,
                                               std::int32_t width,
                                               std::int32_t height,
                                               std::int32_t minimum,
                                               std::int32_t maximum,
                                               std::uint32_t flags = 0);

// From any thread: a progress bar's new range, or a value shown at once within
// the range minimum..maximum. control is the bar's gadget_handle, taken on the
// GUI thread. The messages are posted: the caller never waits for the GUI
// thread (which may be waiting for it), never touches the gadget registry, and
// the bar takes the messages in the order they were posted.
void post_progressbar_range(void* control, std::int32_t minimum, std::int32_t maximum) noexcept;
void post_progressbar_value(void* control, std::int32_t minimum, std::int32_t maximum, std::int32_t value) noexcept;
