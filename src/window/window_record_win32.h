// The Window record and the helpers the window library's Win32 files share.
#pragma once

#include <cstdint>

#include "base/object_id.h"
#include "system/win32.h"
#include "window/window_properties_win32.h"

// Called to paint the background of a window without a brush: (device context, window number, 16).
using WindowEraseCallback = void (*)(HDC dc, std::intptr_t window, int flags);

// A window's registry record; the platform window is the liveness word.
struct Window {
    HWND handle;
    ACCEL accelerators[2];
    HACCEL accelerator_table;
    int accelerator_count;
    HBRUSH background;  // deleted when the window closes
    HWND mdi_frame;     // no multiple-document windows in this system: always null
    WindowEraseCallback erase;
    std::uint16_t min_width, min_height, max_width, max_height;  // 0 = no bound
    bool minimized_or_maximized;
    bool created;  // clear while open_window runs: no size or move events then
};

// The live record of a window number (validated, so safe for stale ids), or null.
[[nodiscard]] Window* window_record(std::intptr_t number);

// The Window of hwnd or of its first ancestor that carries PB_WindowID; number
// is set to its number, or -1 when there is none.
[[nodiscard]] Window* find_window(HWND hwnd, std::intptr_t& number);

// The window class procedure of every window.
LRESULT CALLBACK window_class_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

// Frame size (outer minus inner) of a window's current style, without a menu.
[[nodiscard]] SIZE window_frame_size(HWND hwnd);

// Focus navigation among the tab stops of a top-level window, and its focus cues.
void move_focus(HWND top, bool forward);
void show_focus_cues(HWND top, bool show);
