// The process-wide event queue: queue_event with its merge rule, the current
// event and its getters, suppression, and the ownership of event data.
#pragma once

#include <cstdint>

#include "window/event_types.h"

// Creates an empty queue and binding table (start-up); again after end_event_queue.
void init_event_queue();
// Frees every pending event's data, the current event's data and the queue.
void end_event_queue();

// Queues an event unless suppressed (see kQueueAlways), merges it into an equal
// last entry, then runs its bound callbacks with it as the current event. The
// queue owns data from here on: it is freed with free_data when the event has
// been taken and the next one is taken, or at once if nothing was queued.
// Events carrying data are never merged, so no data is lost. Returns true if
// an entry was added or merged.
bool queue_event(std::int32_t event,
                 std::intptr_t object,
                 std::intptr_t window,
                 std::int32_t type,
                 void* data = nullptr,
                 EventDataFree free_data = nullptr,
                 std::uint32_t flags = 0);

// Removes queued events that match; -1 in any position matches everything.
// Their data is freed.
void remove_queued_events(std::int32_t event, std::intptr_t object, std::intptr_t window, std::int32_t type);

// Counts up (true) or down (false); while above 0 only kQueueAlways events are queued.
void suppress_events(bool suppress);
[[nodiscard]] int events_suppressed();

// Frees the current event's data, then makes the oldest queued event current and
// returns its number; 0 when the queue is empty (the current type becomes -1).
[[nodiscard]] std::int32_t take_next_event();

[[nodiscard]] std::int32_t current_event();
[[nodiscard]] std::intptr_t current_event_window();
[[nodiscard]] std::intptr_t current_event_object();
[[nodiscard]] std::int32_t current_event_type();
[[nodiscard]] void* current_event_data();

// Number of queued events (for diagnostics and tests).
[[nodiscard]] std::size_t queued_event_count();

// Keeps events suppressed for a scope.
class EventSuppression {
public:
    EventSuppression() { suppress_events(true); }
    ~EventSuppression() { suppress_events(false); }
    EventSuppression(const EventSuppression&) = delete;
    EventSuppression& operator=(const EventSuppression&) = delete;
};
