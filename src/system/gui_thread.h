// The thread that owns the windows. The GUI-only libraries (windows, gadgets,
// the event queue and bindings, the run-time name registry) have no locks;
// their entry points check that they run on this thread.
#pragma once

// Makes the calling thread the GUI thread (the window library's start-up).
void set_gui_thread() noexcept;

// True on the GUI thread, and on every thread while none is set (portable
// code and its tests run without a window library).
[[nodiscard]] bool on_gui_thread() noexcept;

// Reports a GUI-only operation called from another thread on standard error
// and ends the process through the fatal-error path (an illegal instruction).
[[noreturn]] void gui_thread_violation(const char* file, int line) noexcept;

// Checked in every build, not only debug ones: the check is one atomic load,
// and a call from the wrong thread would otherwise be a silent data race in
// libraries that have no locks. Tests then see any violation.
#define ASSERT_GUI_THREAD() (on_gui_thread() ? void() : gui_thread_violation(__FILE__, __LINE__))
