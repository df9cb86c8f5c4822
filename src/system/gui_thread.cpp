// The GUI thread's identity, readable from any thread.
#include "system/gui_thread.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {
std::atomic<std::thread::id> g_gui_thread{};  // the default id: none set
}  // namespace

void set_gui_thread() noexcept {
    g_gui_thread.store(std::this_thread::get_id());
}

bool on_gui_thread() noexcept {
    const std::thread::id gui = g_gui_thread.load();
    return gui == std::thread::id() || gui == std::this_thread::get_id();
}

void gui_thread_violation(const char* file, int line) noexcept {
    std::fprintf(stderr, "%s:%d: GUI-only operation called from another thread\n", file, line);
    std::fflush(stderr);
    // A trap, not abort(): on Windows it reaches the installed fatal-error
    // handler like any crash, with the address of the faulty call.
    __builtin_trap();
}
