#include "window/event_bindings.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/failing_allocations.h"
#include "system/gui_thread.h"
#include "window/event_queue.h"

namespace {

std::vector<std::string> g_log;

// Each callback writes its name, so order and count show in the log.
void a() {
    g_log.push_back("a");
}
void b() {
    g_log.push_back("b");
}
void c() {
    g_log.push_back("c");
}
void d() {
    g_log.push_back("d");
}
void e() {
    g_log.push_back("e");
}

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        init_event_queue();
    }
    void TearDown() override { end_event_queue(); }
    std::vector<std::string> fire(std::int32_t event, std::intptr_t window, std::intptr_t object, std::int32_t type) {
        g_log.clear();
        queue_event(event, object, window, type);
        return g_log;
    }
    using Log = std::vector<std::string>;
};

TEST_F(BindingTest, KeysAreSignedDecimals) {
    EXPECT_EQ(binding_key(13101, -1, 2, 0), "13101:-1:2:0");
    EXPECT_EQ(binding_key(13100, 0, 5, -1), "13100:0:5:-1");
    EXPECT_EQ(binding_key(-7, 2147483647, -2147483647 - 1, 14000), "-7:2147483647:-2147483648:14000");
}

TEST_F(BindingTest, TheFivePatternsRunInOrder) {
    bind_event(EV_GADGET, e, -1, 5, 768);  // (e,-1,o,t)
    bind_event(EV_GADGET, d, -1);          // (e,-1,-1,-1)
    bind_event(EV_GADGET, c, 0);           // (e,w,-1,-1)
    bind_event(EV_GADGET, b, 0, 5);        // (e,w,o,-1)
    bind_event(EV_GADGET, a, 0, 5, 768);   // (e,w,o,t)
    EXPECT_EQ(fire(EV_GADGET, 0, 5, 768), (Log{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(fire(EV_GADGET, 0, 5, 0), (Log{"b", "c", "d"}));
    EXPECT_EQ(fire(EV_GADGET, 0, 6, 768), (Log{"c", "d"}));  // gadget 6 is not gadget 5
    EXPECT_EQ(fire(EV_GADGET, 1, 5, 768), (Log{"d", "e"}));  // another window
    EXPECT_EQ(fire(EV_MENU, 0, 5, 768), Log{});
}

TEST_F(BindingTest, NewestRunsFirstAndDoubleBindingRunsTwice) {
    bind_event(EV_MENU, a, 1, 2, 0);
    bind_event(EV_MENU, b, 1, 2, 0);
    bind_event(EV_MENU, a, 1, 2, 0);
    EXPECT_EQ(fire(EV_MENU, 1, 2, 0), (Log{"a", "b", "a"}));
    // Unbinding takes the newest binding of that callback.
    EXPECT_TRUE(unbind_event(EV_MENU, a, 1, 2, 0));
    EXPECT_EQ(fire(EV_MENU, 1, 2, 0), (Log{"b", "a"}));
    EXPECT_FALSE(unbind_event(EV_MENU, c, 1, 2, 0));
    EXPECT_FALSE(unbind_event(EV_MENU, a, 1, 2, -1));  // keys must match exactly
}

TEST_F(BindingTest, PatternsThatCoincideRunTheirCallbacksOnce) {
    // An event for "any window" makes patterns 1 and 5 the same key.
    bind_event(0x10001, a, -1, 3, 4);
    bind_event(0x10001, b, -1);
    EXPECT_EQ(fire(0x10001, -1, 3, 4), (Log{"a", "b"}));
}

void unbind_self() {
    g_log.push_back("self");
    unbind_event(EV_GADGET, unbind_self, 0, 5);
}
void unbind_a() {
    g_log.push_back("unbind_a");
    unbind_event(EV_GADGET, a, 0, 5);
}

TEST_F(BindingTest, ACallbackMayUnbindItselfOrOthersWhileCallbacksRun) {
    bind_event(EV_GADGET, a, 0, 5);
    bind_event(EV_GADGET, unbind_self, 0, 5);
    const std::size_t entries = binding_entry_count();
    EXPECT_EQ(fire(EV_GADGET, 0, 5, 0), (Log{"self", "a"}));
    EXPECT_EQ(fire(EV_GADGET, 0, 5, 0), (Log{"a"}));
    EXPECT_EQ(binding_entry_count(), entries);

    bind_event(EV_GADGET, unbind_a, 0, 5);  // runs before a and unbinds it
    EXPECT_EQ(fire(EV_GADGET, 0, 5, 0), (Log{"unbind_a"}));
    EXPECT_TRUE(unbind_event(EV_GADGET, unbind_a, 0, 5));
    EXPECT_EQ(binding_entry_count(), entries - 1);  // the empty entry is gone
}

TEST_F(BindingTest, RemovingAWindowsBindingsKeepsOtherWindowsAndAnyWindowBindings) {
    bind_event(EV_GADGET, a, 3, 1);
    bind_event(EV_SIZE_WINDOW, b, 3);
    bind_event(EV_GADGET, c, 4, 1);
    bind_event(EV_GADGET, d, -1, 1, 0);
    remove_window_bindings(3);
    EXPECT_EQ(fire(EV_GADGET, 3, 1, 0), (Log{"d"}));
    EXPECT_EQ(fire(EV_SIZE_WINDOW, 3, 0, 0), Log{});
    EXPECT_EQ(fire(EV_GADGET, 4, 1, 0), (Log{"c", "d"}));
}

// A close callback that closes its own window drops the bindings being walked.
void close_window_3() {
    g_log.push_back("close");
    remove_window_bindings(3);
    queue_event(EV_GADGET, 1, 3, 0);  // nested dispatch for the same window
}

TEST_F(BindingTest, RemovingBindingsFromInsideTheirOwnCallbackIsSafe) {
    bind_event(EV_CLOSE_WINDOW, a, 3);
    bind_event(EV_CLOSE_WINDOW, close_window_3, 3);
    bind_event(EV_GADGET, b, 3, 1);
    EXPECT_EQ(fire(EV_CLOSE_WINDOW, 3, 3, 0), Log{"close"});
    EXPECT_EQ(fire(EV_CLOSE_WINDOW, 3, 3, 0), Log{});
    EXPECT_EQ(binding_entry_count(), 0u);
    // A new window under the same number starts clean.
    bind_event(EV_CLOSE_WINDOW, c, 3);
    EXPECT_EQ(fire(EV_CLOSE_WINDOW, 3, 3, 0), Log{"c"});
}

// The same key dispatched again from inside its own callback.
int g_depth = 0;
void requeue_once() {
    g_log.push_back("requeue");
    if (g_depth++ == 0) {
        unbind_event(EV_MENU, requeue_once, 1, 1, 0);
        queue_event(EV_MENU, 1, 1, 0);
    }
}

TEST_F(BindingTest, ReentrantDispatchOfTheSameKeySeesUnbindingAtOnce) {
    g_depth = 0;
    bind_event(EV_MENU, a, 1, 1, 0);
    bind_event(EV_MENU, requeue_once, 1, 1, 0);
    EXPECT_EQ(fire(EV_MENU, 1, 1, 0), (Log{"requeue", "a", "a"}));
    EXPECT_EQ(fire(EV_MENU, 1, 1, 0), (Log{"a"}));
}

TEST_F(BindingTest, ABindingThatRunsOutOfMemoryLeavesTheTableAsItWas) {
    bind_event(EV_MENU, a, 1, 1, 0);
    const std::size_t entries = binding_entry_count();
    const int failures = each_allocation_failing([] { bind_event(EV_SIZE_WINDOW, b, 2); },
                                                 [&](bool threw) {
                                                     if (threw)
                                                         EXPECT_EQ(binding_entry_count(), entries);
                                                     else
                                                         EXPECT_TRUE(unbind_event(EV_SIZE_WINDOW, b, 2));
                                                 });
    EXPECT_GT(failures, 0);
    EXPECT_EQ(fire(EV_MENU, 1, 1, 0), (Log{"a"}));
}

}  // namespace

// The bindings have no lock: a worker that binds must be stopped at once, in
// every build, not left to race with the GUI thread.
TEST(GuiThreadCheck, BindingFromAnotherThreadEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            set_gui_thread();
            std::thread([] { bind_event(EV_SIZE_WINDOW, a, 1); }).join();
        },
        "event_bindings.cpp:.*GUI-only operation called from another thread");
}
