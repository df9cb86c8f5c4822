// The posting window: events made on another thread are queued, and their
// callbacks run, on the thread that owns the windows.
#pragma once

#include <cstdint>

#include "window/event_types.h"

// Start-up, before init_windows: the posting window, its message, the event
// queue and the binding table. False when the posting window could not be
// made (the system's error is the thread's last one): post_event then fails
// every time, while the queue works. end_posted_events undoes it.
bool init_posted_events();
void end_posted_events();

// Safe from any thread: queues (event, object, window, type, data) on the
// windows' thread, even while events are suppressed, and runs its callbacks
// there. From then on the queue owns data and frees it with free_data (when
// given) as it frees the data of any event; events that never reach the queue
// (the program ends first) have their data freed the same way. False if the
// message could not be posted: nothing is queued and data is still the caller's.
bool post_event(std::int32_t event,
                std::intptr_t object,
                std::intptr_t window,
                std::int32_t type,
                void* data = nullptr,
                EventDataFree free_data = nullptr);
