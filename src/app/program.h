// The program: start-up, the main window and its commands, the event loop and
// the end. Everything here runs on the GUI thread, except the generation that
// Copy starts.
#pragma once

#include <cstdint>
#include <string>

#include "window/event_bindings.h"  // EventCallback

// The whole run: start-up, the window, the loop, the end. Does not return.
[[noreturn]] void program_main() noexcept;

// Start-up up to the window: the libraries, the named sizes at the screen's
// DPI, the fatal-error box, the file map, the dialog and the gadgets' font.
void start_program() noexcept;

// Opens "wndMain" from the dialog definition, makes the window a file drop
// target, binds the commands. When that fails, no window is left open and
// the result says why, for the user; it is empty when the window opened.
[[nodiscard]] std::u16string open_main_window() noexcept;
// Waits for events until the window is closed; handles file drops.
void run_event_loop() noexcept;
// Runs every library's end operation and ends the process with exit_code.
[[noreturn]] void end_program(std::uint32_t exit_code = 0) noexcept;

// The program's error routine: the box naming file, line and error.
void fatal_error_handler() noexcept;

// ---------------------------------------------------------------- commands
void on_home_link() noexcept;
void on_export() noexcept;
void on_copy() noexcept;
void on_file_list_event() noexcept;
// A generation's outcome, posted from the worker (the event's object is its
// GenerationStatus).
void on_copy_done() noexcept;

// The list's popup menu, numbered 0 and made anew at each right-click; at the
// mouse cursor, or at a point on the screen (opened from the keyboard).
void show_list_menu(void* window) noexcept;
void show_list_menu_at(void* window, std::int32_t x, std::int32_t y) noexcept;
// The window's keys, seen before the control with the focus: on the list,
// Delete removes the selected entries and the menu key and Shift+F10 open the
// menu; on a button, Enter presses it. Non-zero when the key was used.
int on_window_key(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) noexcept;
[[nodiscard]] int create_list_menu(std::intptr_t menu, EventCallback procedure) noexcept;
void add_list_menu_item(std::uint32_t item, const char16_t* text, bool enabled) noexcept;
void on_list_menu() noexcept;

// The event a finished generation posts to the GUI thread.
inline constexpr std::int32_t kEventCopyDone = 0x10001;
