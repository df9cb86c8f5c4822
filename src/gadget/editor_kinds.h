// Create operations of the editing gadget kinds: the rich-text editor and the
// editing component loaded from a library of its own. Each returns the native
// control for a number, the new id for PB_Any, 0 on failure (also when the
// library behind the kind is missing; nothing is left then); a number in use
// loses its old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_Editor_ReadOnly = 0x800;
inline constexpr std::uint32_t PB_Editor_WordWrap = 0x10000000;
// Editor attributes (0 or 1).
inline constexpr std::int32_t PB_Editor_ReadOnlyState = 1;
inline constexpr std::int32_t PB_Editor_WordWrapState = 2;

// A multi-line rich-text field with unlimited text: ET_CHANGE, ET_FOCUS,
// ET_LOST_FOCUS. Items are its lines.
[[nodiscard]] std::intptr_t editor_gadget(std::intptr_t id,
                                          std::int32_t x,
                                          std::int32_t y,
                                          std::int32_t width,
                                          std::int32_t height,
                                          std::uint32_t flags = 0);

// Loads the editing component's library (by file name or path) once for the
// process; true when it is loaded. Later calls change nothing and say whether
// the first one succeeded.
bool init_scintilla(const char16_t* library);
// Called for every notification of the component with the gadget and the
// notification record; its result answers the notification.
using ScintillaCallback = std::intptr_t (*)(std::intptr_t gadget, void* notification);
// The component's window (UTF-8 text); ET_RIGHT_CLICK as the right button is released.
// 0 when its library is not loaded.
[[nodiscard]] std::intptr_t scintilla_gadget(std::intptr_t id,
                                             std::int32_t x,
                                             std::int32_t y,
                                             std::int32_t width,
                                             std::int32_t height,
                                             ScintillaCallback callback);
// Sends any message to the component; 0 for no such gadget.
std::intptr_t scintilla_send_message(std::intptr_t gadget,
                                     unsigned message,
                                     std::uintptr_t wparam,
                                     std::intptr_t lparam);

// Event types of the web gadget.
inline constexpr std::int32_t ET_WEB_NAVIGATE_COMPLETE = 65617;
inline constexpr std::int32_t ET_WEB_DOWNLOAD_START = 65621;
inline constexpr std::int32_t ET_WEB_DOWNLOAD_END = 65623;
// Web gadget states (commands) and attributes.
inline constexpr std::int32_t PB_Web_Back = 1;
inline constexpr std::int32_t PB_Web_Forward = 2;
inline constexpr std::int32_t PB_Web_Stop = 3;
inline constexpr std::int32_t PB_Web_Refresh = 4;
inline constexpr std::int32_t PB_Web_Busy = 1;  // attribute, read only

// The system's web browser object in a window, showing address (empty:
// "about:blank"); text: the address shown. 0 when the system has no browser
// object (nothing is left then).
[[nodiscard]] std::intptr_t web_gadget(std::intptr_t id,
                                       std::int32_t x,
                                       std::int32_t y,
                                       std::int32_t width,
                                       std::int32_t height,
                                       const char16_t* address);
