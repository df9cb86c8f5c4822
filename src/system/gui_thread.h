// The thread that owns the windows. The GUI-only libraries (windows, gadgets,
// the event queue and bindings, the run-time name registry) have no locks;
// debug builds check at their entry points that they run on this thread.
#pragma once

#include <cassert>

// Makes the calling thread the GUI thread (the window library's start-up).
void set_gui_thread() noexcept;

// True on the GUI thread, and on every thread while none is set (portable
// code and its tests run without a window library).
[[nodiscard]] bool on_gui_thread() noexcept;

#define ASSERT_GUI_THREAD() assert(on_gui_thread() && "GUI-only operation called from another thread")
