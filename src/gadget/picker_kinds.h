// Create operations of the picker gadget kinds: date, calendar, IP address and
// shortcut. Dates are seconds since 1970-01-01 00:00:00 on the wall clock
// (gadget/date_format.h); 0 at creation means today. Each returns the native
// control for a number, the new id for PB_Any, 0 on failure (a live number
// keeps its old gadget then); a number in use loses its old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_Date_UpDown = 0x1;
inline constexpr std::uint32_t PB_Date_CheckBox = 0x2;
inline constexpr std::uint32_t PB_Calendar_Borderless = 0x800000;
// Date and calendar attributes: the earliest and latest date (0 = no limit).
inline constexpr std::int32_t PB_Date_Minimum = 1;
inline constexpr std::int32_t PB_Date_Maximum = 2;
// Calendar item states: a date shown bold (item = the date's value).
inline constexpr std::int32_t PB_Calendar_Normal = 0;
inline constexpr std::int32_t PB_Calendar_Bold = 1;

// A date field; gadget_set_text sets its display mask ("%dd.%mm.%yyyy").
// ET_CHANGE when the user picks another date. State: the date (0 while a
// PB_Date_CheckBox field is unchecked).
[[nodiscard]] std::intptr_t date_gadget(std::intptr_t id,
                                        std::int32_t x,
                                        std::int32_t y,
                                        std::int32_t width,
                                        std::int32_t height,
                                        const char16_t* mask,
                                        std::int32_t date = 0,
                                        std::uint32_t flags = 0);
// A month calendar; ET_LEFT_CLICK when the user picks another day. State: the date.
[[nodiscard]] std::intptr_t calendar_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            std::int32_t date = 0,
                                            std::uint32_t flags = 0);
// An IPv4 address field. State: the address as a number (first field in the
// top byte); text: the dotted form. ET_FOCUS / ET_LOST_FOCUS.
[[nodiscard]] std::intptr_t ipaddress_gadget(std::intptr_t id,
                                             std::int32_t x,
                                             std::int32_t y,
                                             std::int32_t width,
                                             std::int32_t height);
// A keyboard shortcut field. State: the shortcut (virtual key in the low byte,
// HOTKEYF_* modifiers in the next). ET_LEFT_CLICK when the user sets a
// shortcut with a key, or clears it.
[[nodiscard]] std::intptr_t shortcut_gadget(std::intptr_t id,
                                            std::int32_t x,
                                            std::int32_t y,
                                            std::int32_t width,
                                            std::int32_t height,
                                            std::int32_t shortcut = 0);
