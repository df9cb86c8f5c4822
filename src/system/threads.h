// Worker threads by number: 1, 2, 3 … in creation order, never reused.
#pragma once

#include <cstdint>

using ThreadProcedure = void (*)(void* argument);

// Starts procedure(argument) at once on a new thread (4096 bytes of stack
// committed at first). The thread's number, 0 if the platform refuses it.
[[nodiscard]] std::intptr_t create_thread(ThreadProcedure procedure, void* argument);

// The thread's platform handle while it runs; 0 once it ended or if no thread
// has that number. The handle stays owned by the thread list.
[[nodiscard]] std::uintptr_t is_thread_running(std::intptr_t thread);

// Closes the handles of all recorded threads and forgets them; running threads
// go on (program end).
void end_threads();
