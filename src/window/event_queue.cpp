// The event queue: a singly linked list of entries from a node pool, the
// current event, the suppression counter and the lifetime of event data.
#include "window/event_queue.h"

#include <new>

#include "system/fatal_error.h"
#include "system/gui_thread.h"
#include "window/event_bindings.h"

namespace {

struct Entry {
    Entry* next;
    std::int32_t event;
    std::uint32_t flags;
    std::intptr_t object;
    std::intptr_t window;
    std::int32_t type;
    void* data;
    EventDataFree free_data;
};

struct CurrentEvent {
    std::int32_t event = 0;
    std::intptr_t window = 0;
    std::intptr_t object = 0;
    std::int32_t type = 0;
    void* data = nullptr;
    EventDataFree free_data = nullptr;
};

// An event whose callbacks are running. Its data stays readable until they
// are done: an entry removed meanwhile (a callback closed the window) hands
// the data's free routine to the frame instead of freeing it.
struct DispatchFrame {
    void* data;
    EventDataFree orphaned_free;
    DispatchFrame* outer;
};

struct EventQueue {
    DispatchFrame* dispatching = nullptr;  // innermost first
    Entry* pool = nullptr;                 // entries given back, reused before allocating
    Entry* head = nullptr;
    Entry* tail = nullptr;
    std::size_t count = 0;
    int suppressed = 0;
    CurrentEvent current;
};

EventQueue* g_queue = nullptr;

void free_event_data(void* data, EventDataFree free_data) {
    if (data && free_data)
        free_data(data);
}

Entry* new_entry() {
    if (Entry* e = g_queue->pool) {
        g_queue->pool = e->next;
        return e;
    }
    return new (std::nothrow) Entry;
}

void give_back(Entry* e) {
    e->next = g_queue->pool;
    g_queue->pool = e;
}

bool can_merge(const Entry* last,
               std::int32_t event,
               std::intptr_t object,
               std::intptr_t window,
               std::int32_t type,
               const void* data) {
    // An event with data is news of its own (a second drop carries other files):
    // merging would throw the data away.
    return last && !data && event <= kLastMergeableEvent && last->event == event && last->object == object &&
           last->window == window && last->type == type;
}

// Frees the data of an entry taken out of the queue, unless callbacks of its
// event are still running (in this dispatch or an outer one): then when they end.
void free_when_dispatched(EventQueue* q, void* data, EventDataFree free_data) {
    for (DispatchFrame* frame = q->dispatching; data && frame; frame = frame->outer) {
        if (frame->data == data && !frame->orphaned_free) {
            frame->orphaned_free = free_data;
            return;
        }
    }
    free_event_data(data, free_data);
}

}  // namespace

void init_event_queue() {
    if (g_queue)
        end_event_queue();
    g_queue = new EventQueue;
    clear_bindings();
}

void end_event_queue() {
    if (!g_queue)
        return;
    EventQueue* q = g_queue;
    while (Entry* e = q->head) {
        q->head = e->next;
        free_event_data(e->data, e->free_data);
        delete e;
    }
    while (Entry* e = q->pool) {
        q->pool = e->next;
        delete e;
    }
    free_event_data(q->current.data, q->current.free_data);
    g_queue = nullptr;
    delete q;
    clear_bindings();
}

bool queue_event(std::int32_t event,
                 std::intptr_t object,
                 std::intptr_t window,
                 std::int32_t type,
                 void* data,
                 EventDataFree free_data,
                 std::uint32_t flags) {
    ASSERT_GUI_THREAD();
    EventQueue* q = g_queue;
    // Nothing runs while a fatal error is reported: the thread's state may be
    // broken, and the process ends when the report is read.
    if (!q || (q->suppressed > 0 && !(flags & kQueueAlways)) || fatal_error_reporting()) {
        free_event_data(data, free_data);
        return false;
    }
    bool stored = false;
    bool merged = can_merge(q->tail, event, object, window, type, data);
    if (!merged) {
        if (Entry* e = new_entry()) {
            *e = Entry{nullptr, event, flags, object, window, type, data, free_data};
            if (q->tail)
                q->tail->next = e;
            else
                q->head = e;
            q->tail = e;
            ++q->count;
            stored = true;
        }
    }

    // Callbacks see this event as the current one. Its data stays owned by the
    // entry, so a nested event loop inside a callback must not free it.
    const CurrentEvent saved = q->current;
    q->current = CurrentEvent{event, window, object, type, data, nullptr};
    DispatchFrame frame{data, nullptr, q->dispatching};
    q->dispatching = &frame;
    dispatch_bound_callbacks(event, window, object, type);
    if (g_queue != q) {
        // A callback ended the queue; data taken from it meanwhile is still ours.
        free_event_data(data, frame.orphaned_free);
        return stored || merged;
    }
    q->dispatching = frame.outer;
    // A callback that ran an event loop of its own left a taken event current
    // (only taken events carry a free routine there); that event is done now.
    free_event_data(q->current.data, q->current.free_data);
    q->current = saved;

    free_event_data(data, frame.orphaned_free);
    if (!stored)
        free_event_data(data, free_data);
    return stored || merged;
}

void remove_queued_events(std::int32_t event, std::intptr_t object, std::intptr_t window, std::int32_t type) {
    ASSERT_GUI_THREAD();
    EventQueue* q = g_queue;
    if (!q)
        return;
    Entry* previous = nullptr;
    for (Entry* e = q->head; e;) {
        Entry* next = e->next;
        if ((event == -1 || e->event == event) && (object == -1 || e->object == object) &&
            (window == -1 || e->window == window) && (type == -1 || e->type == type)) {
            if (previous)
                previous->next = next;
            else
                q->head = next;
            if (q->tail == e)
                q->tail = previous;
            --q->count;
            void* data = e->data;
            EventDataFree free_data = e->free_data;
            give_back(e);
            free_when_dispatched(q, data, free_data);
        } else {
            previous = e;
        }
        e = next;
    }
}

void suppress_events(bool suppress) {
    ASSERT_GUI_THREAD();
    if (!g_queue)
        return;
    if (suppress)
        ++g_queue->suppressed;
    else if (g_queue->suppressed > 0)
        --g_queue->suppressed;
}

int events_suppressed() {
    return g_queue ? g_queue->suppressed : 0;
}

std::int32_t take_next_event() {
    ASSERT_GUI_THREAD();
    EventQueue* q = g_queue;
    if (!q)
        return 0;
    CurrentEvent& current = q->current;
    current.event = 0;
    if (current.data && current.free_data) {
        EventDataFree free_data = current.free_data;
        void* data = current.data;
        current.data = nullptr;
        current.free_data = nullptr;
        free_when_dispatched(q, data, free_data);
    }
    current.type = -1;
    Entry* e = q->head;
    if (!e)
        return 0;
    q->head = e->next;
    if (!q->head)
        q->tail = nullptr;
    --q->count;
    current = CurrentEvent{e->event, e->window, e->object, e->type, e->data, e->free_data};
    give_back(e);
    return current.event;
}

std::int32_t current_event() {
    return g_queue ? g_queue->current.event : 0;
}
std::intptr_t current_event_window() {
    return g_queue ? g_queue->current.window : 0;
}
std::intptr_t current_event_object() {
    return g_queue ? g_queue->current.object : 0;
}
std::int32_t current_event_type() {
    return g_queue ? g_queue->current.type : 0;
}
void* current_event_data() {
    return g_queue ? g_queue->current.data : nullptr;
}
std::size_t queued_event_count() {
    return g_queue ? g_queue->count : 0;
}
