// Top-level windows: numbered objects, each wrapping one platform window with a
// class of its own, whose messages become events of the event queue.
#pragma once

#include <cstdint>

#include "base/object_id.h"
#include "window/event_queue.h"

// A position or size argument that keeps the current value. <windows.h> defines
// IGNORE as 0, so the name is never spelled bare.
inline constexpr std::int32_t kIgnore = -65535;
static_assert(kIgnore == -0xFFFF);

// open_window flags (the dialog engine's flag table carries the same values).
inline constexpr std::uint32_t PB_Window_ScreenCentered = 1;
inline constexpr std::uint32_t PB_Window_WindowCentered = 2;
inline constexpr std::uint32_t PB_Window_Tool = 4;
inline constexpr std::uint32_t PB_Window_NoGadgets = 8;
inline constexpr std::uint32_t PB_Window_TitleBar = 0xC00000;
inline constexpr std::uint32_t PB_Window_SystemMenu = 0xC80000;
inline constexpr std::uint32_t PB_Window_SizeGadget = 0xC40000;
inline constexpr std::uint32_t PB_Window_MinimizeGadget = 0xCA0000;
inline constexpr std::uint32_t PB_Window_MaximizeGadget = 0xC90000;
inline constexpr std::uint32_t PB_Window_Maximize = 0x1000000;
inline constexpr std::uint32_t PB_Window_NoActivate = 0x2000000;
inline constexpr std::uint32_t PB_Window_Invisible = 0x10000000;
inline constexpr std::uint32_t PB_Window_Minimize = 0x20000000;
inline constexpr std::uint32_t PB_Window_BorderLess = 0x80000000;

// Accelerator commands of the two focus keys.
inline constexpr std::uint16_t kCommandFocusNext = 64001;
inline constexpr std::uint16_t kCommandFocusPrevious = 64002;

struct Window;

// Start-up: the window registry, the program icon and the arrow cursor.
// init_posted_events (the queue) comes first. end_windows closes every window.
void init_windows();
void end_windows();

// Opens a window with the given inner (client) size; title null = empty. Returns
// the new id for PB_Any, else the platform window; 0 on failure. parent is a
// platform window (owner) or null. No size or move event is queued while it runs.
[[nodiscard]] std::intptr_t open_window(std::intptr_t number,
                                        std::int32_t x,
                                        std::int32_t y,
                                        std::int32_t width,
                                        std::int32_t height,
                                        const char16_t* title,
                                        std::uint32_t flags,
                                        void* parent = nullptr);

// Closes the window, its bindings and queued events; PB_Any closes all.
void close_window(std::intptr_t number);

// The window's record, or null if the number names no window.
[[nodiscard]] Window* is_window(std::intptr_t number);
// The platform window, or null.
[[nodiscard]] void* window_handle(std::intptr_t number);

// A null title changes nothing.
void set_window_title(std::intptr_t number, const char16_t* title);

// Moves and sizes (inner size); any argument may be kIgnore.
void resize_window(std::intptr_t number, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

// Inner-size limits for the user's resizing: kIgnore keeps a bound, -1 removes it.
void window_bounds(std::intptr_t number,
                   std::int32_t min_width,
                   std::int32_t min_height,
                   std::int32_t max_width,
                   std::int32_t max_height);

// Hides, or shows in the window's current state; flags 1/2 centre, 0x2000000
// shows without activating.
void show_window(std::intptr_t number, bool hide, std::uint32_t flags = 0);

// Moves the window to the centre of the screen (flag 1) or of `against`, or
// of the active window when that is null (flag 2), without showing it.
void centre_window_by_flags(std::intptr_t number, std::uint32_t flags, void* against = nullptr);

// Inner (client, plus the menu bar) or outer size; 0 for no window.
[[nodiscard]] std::int32_t window_width(std::intptr_t number, bool inner = true);
[[nodiscard]] std::int32_t window_height(std::intptr_t number, bool inner = true);

// Returns the next event, or the number of the platform message it handled
// (events queued meanwhile come with the next calls), or 0. time-out in ms;
// -1 waits without limit, 0 does not wait.
[[nodiscard]] std::int32_t wait_window_event(std::int32_t timeout_ms = -1);

// wParam and lParam of the platform message wait_window_event handled last
// (0 and 0 when it returned a queued event).
[[nodiscard]] std::uintptr_t event_wparam();
[[nodiscard]] std::intptr_t event_lparam();

// Sees every message wait_window_event takes before anything else; non-zero
// consumes it. Null removes the filter.
using MessagePrefilter = int (*)(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
void set_message_prefilter(MessagePrefilter filter);

// The common message translation, for container gadgets that pass on their own
// messages: returns the result, or NOT_HANDLED for the default handling.
[[nodiscard]] std::intptr_t window_translate_message(void* hwnd,
                                                     unsigned message,
                                                     std::uintptr_t wparam,
                                                     std::intptr_t lparam) noexcept;

// The window number of a platform window or of any window inside it; -1 if none.
[[nodiscard]] std::intptr_t window_number_of(void* hwnd);
