#include "window/event_queue.h"

#include <gtest/gtest.h>

#include <vector>

#include "system/fatal_error_internal.h"
#include "window/event_bindings.h"

namespace {

// Event data that records when it is freed.
std::vector<int> g_freed;
void free_tag(void* data) {
    g_freed.push_back(*static_cast<int*>(data));
    delete static_cast<int*>(data);
}
int* tag(int value) {
    return new int(value);
}

class EventQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_freed.clear();
        init_event_queue();
    }
    void TearDown() override { end_event_queue(); }

    struct Taken {
        std::int32_t event;
        std::intptr_t object, window;
        std::int32_t type;
        bool operator==(const Taken&) const = default;
    };
    std::vector<Taken> drain() {
        std::vector<Taken> out;
        while (std::int32_t e = take_next_event())
            out.push_back({e, current_event_object(), current_event_window(), current_event_type()});
        return out;
    }
};

TEST_F(EventQueueTest, MergesOnlyAnEqualLastEntryOfASystemEvent) {
    queue_event(EV_SIZE_WINDOW, 0, 1, 0);
    queue_event(EV_SIZE_WINDOW, 0, 1, 0);  // merged
    queue_event(EV_SIZE_WINDOW, 0, 2, 0);  // other window
    queue_event(EV_GADGET, 5, 2, 0);
    queue_event(EV_GADGET, 5, 2, 768);     // other type
    queue_event(EV_GADGET, 6, 2, 768);     // other object
    queue_event(EV_SIZE_WINDOW, 0, 2, 0);  // equal to an earlier entry, not the last one
    queue_event(0x10000, 1, 1, 1);
    queue_event(0x10000, 1, 1, 1);  // callers' own events never merge
    queue_event(EV_SIZE_WINDOW, 0, 2, 0);
    queue_event(EV_SIZE_WINDOW, 0, 2, 0);  // merged
    EXPECT_EQ(drain(), (std::vector<Taken>{{EV_SIZE_WINDOW, 0, 1, 0},
                                           {EV_SIZE_WINDOW, 0, 2, 0},
                                           {EV_GADGET, 5, 2, 0},
                                           {EV_GADGET, 5, 2, 768},
                                           {EV_GADGET, 6, 2, 768},
                                           {EV_SIZE_WINDOW, 0, 2, 0},
                                           {0x10000, 1, 1, 1},
                                           {0x10000, 1, 1, 1},
                                           {EV_SIZE_WINDOW, 0, 2, 0}}));
}

TEST_F(EventQueueTest, EventsWithDataAreNeverMergedSoNoDataIsLost) {
    queue_event(EV_WINDOW_DROP, 0, 1, 0, tag(1), free_tag);
    queue_event(EV_WINDOW_DROP, 0, 1, 0, tag(2), free_tag);
    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    EXPECT_EQ(*static_cast<int*>(current_event_data()), 1);
    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    EXPECT_EQ(*static_cast<int*>(current_event_data()), 2);
    EXPECT_EQ(g_freed, std::vector<int>{1});
}

TEST_F(EventQueueTest, DataLivesUntilTheNextEventIsTaken) {
    queue_event(EV_WINDOW_DROP, 0, 1, 0, tag(1), free_tag);
    queue_event(EV_GADGET, 3, 1, 0, tag(2), free_tag);
    EXPECT_TRUE(g_freed.empty());

    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    EXPECT_TRUE(g_freed.empty());  // still readable by the program
    EXPECT_EQ(*static_cast<int*>(current_event_data()), 1);

    ASSERT_EQ(take_next_event(), EV_GADGET);
    EXPECT_EQ(g_freed, std::vector<int>{1});

    // Taking from an empty queue still ends the last event's data.
    EXPECT_EQ(take_next_event(), 0);
    EXPECT_EQ(g_freed, (std::vector<int>{1, 2}));
    EXPECT_EQ(current_event_data(), nullptr);
}

TEST_F(EventQueueTest, TakingFromAnEmptyQueueClearsNumberAndTypeButKeepsTheRest) {
    queue_event(EV_GADGET, 7, 2, 768);
    ASSERT_EQ(take_next_event(), EV_GADGET);
    EXPECT_EQ(take_next_event(), 0);
    EXPECT_EQ(current_event(), 0);
    EXPECT_EQ(current_event_type(), -1);
    EXPECT_EQ(current_event_object(), 7);
    EXPECT_EQ(current_event_window(), 2);
}

TEST_F(EventQueueTest, DataOfEventsThatAreNotKeptIsFreedAtOnce) {
    // Suppressed.
    suppress_events(true);
    EXPECT_FALSE(queue_event(EV_WINDOW_DROP, 0, 1, 0, tag(1), free_tag));
    suppress_events(false);
    EXPECT_EQ(g_freed, std::vector<int>{1});
    // Removed while waiting.
    queue_event(EV_WINDOW_DROP, 0, 1, 0, tag(2), free_tag);
    queue_event(EV_WINDOW_DROP, 0, 2, 0, tag(3), free_tag);
    remove_queued_events(-1, -1, 1, -1);
    EXPECT_EQ(g_freed, (std::vector<int>{1, 2}));
    // Still pending at the end.
    end_event_queue();
    EXPECT_EQ(g_freed, (std::vector<int>{1, 2, 3}));
    init_event_queue();
}

TEST_F(EventQueueTest, SuppressionIsACounterThatOnlyAlwaysEventsPass) {
    suppress_events(true);
    suppress_events(true);
    EXPECT_FALSE(queue_event(EV_GADGET, 1, 0, 768));
    EXPECT_TRUE(queue_event(EV_GADGET, 2, 0, 768, nullptr, nullptr, kQueueAlways));
    suppress_events(false);
    EXPECT_FALSE(queue_event(EV_GADGET, 3, 0, 768));  // still one level up
    suppress_events(false);
    suppress_events(false);  // unbalanced: stays at 0 instead of going negative
    EXPECT_EQ(events_suppressed(), 0);
    EXPECT_TRUE(queue_event(EV_GADGET, 4, 0, 768));
    {
        EventSuppression quiet;
        EXPECT_FALSE(queue_event(EV_GADGET, 5, 0, 768));
    }
    EXPECT_TRUE(queue_event(EV_GADGET, 6, 0, 768));
    EXPECT_EQ(drain(), (std::vector<Taken>{{EV_GADGET, 2, 0, 768}, {EV_GADGET, 4, 0, 768}, {EV_GADGET, 6, 0, 768}}));
}

TEST_F(EventQueueTest, RemovalMatchesWildcardsAndKeepsTheTailRight) {
    queue_event(EV_SIZE_WINDOW, 0, 1, 0);
    queue_event(EV_GADGET, 4, 1, 0);
    queue_event(EV_GADGET, 5, 1, 1);
    queue_event(EV_GADGET, 5, 2, 0);
    queue_event(EV_SIZE_WINDOW, 0, 1, 0);
    remove_queued_events(EV_GADGET, 5, -1, -1);
    EXPECT_EQ(queued_event_count(), 3u);
    remove_queued_events(EV_SIZE_WINDOW, 0, 1, 0);  // removes the last entry too
    // The tail is now the gadget event: an equal event merges into it, and a new
    // one is appended after it, not lost.
    queue_event(EV_GADGET, 4, 1, 0);
    queue_event(EV_MENU, 9, 1, 0);
    EXPECT_EQ(drain(), (std::vector<Taken>{{EV_GADGET, 4, 1, 0}, {EV_MENU, 9, 1, 0}}));
    remove_queued_events(-1, -1, -1, -1);  // on an empty queue
    queue_event(EV_MENU, 1, 1, 0);
    EXPECT_EQ(queued_event_count(), 1u);
}

// Callbacks run inside queue_event with the queued event as the current one.
struct Seen {
    std::int32_t event;
    std::intptr_t object;
    void* data;
};
std::vector<Seen> g_seen;
void record_current() {
    g_seen.push_back({current_event(), current_event_object(), current_event_data()});
}

TEST_F(EventQueueTest, CallbacksSeeTheQueuedEventAndTheCurrentEventIsRestored) {
    g_seen.clear();
    bind_event(EV_GADGET, record_current, 1);
    queue_event(EV_MENU, 2, 1, 0);
    ASSERT_EQ(take_next_event(), EV_MENU);

    int* data = tag(8);
    queue_event(EV_GADGET, 5, 1, 0, data, free_tag);
    suppress_events(true);
    queue_event(EV_GADGET, 6, 1, 0);  // suppressed: no callback either
    suppress_events(false);
    queue_event(EV_GADGET, 5, 1, 0);  // merged: callbacks still run

    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].event, EV_GADGET);
    EXPECT_EQ(g_seen[0].object, 5);
    EXPECT_EQ(g_seen[0].data, data);
    EXPECT_EQ(g_seen[1].data, nullptr);
    EXPECT_EQ(current_event(), EV_MENU);
    EXPECT_EQ(current_event_object(), 2);
    EXPECT_TRUE(g_freed.empty());
}

// A callback that closes its window removes the event being dispatched from
// the queue; the callbacks after it still read its data (ASan), freed once.
void remove_all_queued() {
    remove_queued_events(-1, -1, -1, -1);
}
int g_data_seen = 0;
void read_current_data() {
    g_data_seen = *static_cast<int*>(current_event_data());
}

// Also when the removal happens in a nested dispatch: a callback of another
// event, queued while the first one's callbacks run (a box's message loop).
void queue_remover() {
    queue_event(EV_MENU, 3, 1, 0);
}
int* g_outer_data = nullptr;
void read_outer_data() {
    g_data_seen = *g_outer_data;
}

TEST_F(EventQueueTest, DataOfAnEventRemovedByItsOwnCallbackLivesUntilTheDispatchEnds) {
    bind_event(EV_GADGET, read_current_data, 1, 9);
    bind_event(EV_GADGET, remove_all_queued, 1, 9);  // the newest runs first
    queue_event(EV_GADGET, 9, 1, 0, tag(7), free_tag);
    EXPECT_EQ(g_data_seen, 7);
    EXPECT_EQ(g_freed, std::vector<int>{7});
    EXPECT_EQ(take_next_event(), 0);
    EXPECT_EQ(g_freed, std::vector<int>{7});

    clear_bindings();
    g_data_seen = 0;
    g_outer_data = tag(8);
    bind_event(EV_MENU, remove_all_queued, 1, 3);
    bind_event(EV_GADGET, read_outer_data, 1, 9);
    bind_event(EV_GADGET, queue_remover, 1, 9);  // runs first
    queue_event(EV_GADGET, 9, 1, 0, g_outer_data, free_tag);
    EXPECT_EQ(g_data_seen, 8);
    EXPECT_EQ(g_freed, (std::vector<int>{7, 8}));
}

// While a fatal error is reported (its box runs a message loop on the thread
// that failed), no event is queued and no callback runs, kQueueAlways or not.
TEST_F(EventQueueTest, NothingRunsWhileAFatalErrorIsReported) {
    g_seen.clear();
    bind_event(EV_GADGET, record_current, 1);
    mark_fatal_error_reporting(true);
    EXPECT_FALSE(queue_event(EV_GADGET, 5, 1, 0, tag(4), free_tag));
    EXPECT_FALSE(queue_event(EV_GADGET, 6, 1, 0, nullptr, nullptr, kQueueAlways));
    mark_fatal_error_reporting(false);
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(g_freed, std::vector<int>{4});
    EXPECT_EQ(take_next_event(), 0);
}

// A callback that runs an event loop of its own (a modal wait) takes events,
// including the one being dispatched; nothing is freed twice or leaked (ASan).
void nested_loop() {
    while (take_next_event() != 0) {
    }
}

TEST_F(EventQueueTest, ANestedEventLoopInACallbackFreesEachDataOnce) {
    bind_event(EV_GADGET, nested_loop, 1, 9);
    queue_event(EV_WINDOW_DROP, 0, 1, 0, tag(1), free_tag);
    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    queue_event(EV_WINDOW_DROP, 0, 1, 0, tag(2), free_tag);
    queue_event(EV_GADGET, 9, 1, 0, tag(3), free_tag);  // the callback drains the queue
    EXPECT_EQ(queued_event_count(), 0u);
    EXPECT_EQ(g_freed, (std::vector<int>{2, 3}));
    // The event current before the dispatch is back, its data still alive.
    EXPECT_EQ(current_event(), EV_WINDOW_DROP);
    EXPECT_EQ(*static_cast<int*>(current_event_data()), 1);
    EXPECT_EQ(take_next_event(), 0);
    EXPECT_EQ(g_freed, (std::vector<int>{2, 3, 1}));
}

}  // namespace
