// The generator's progress on a real progress bar, reported from worker threads.
#include <atomic>
#include <thread>

#include "app/progressbar_sink.h"
#include "win32/gadget/gadget_test_support_win32.h"
#include "window/event_queue.h"

#include <commctrl.h>

namespace {

class ProgressBarSinkTest : public GadgetTest {
protected:
    void SetUp() override {
        GadgetTest::SetUp();
        ASSERT_NE(progressbar_gadget(1, 0, 0, 200, 20, 0, 100, PB_ProgressBar_Smooth), 0);
    }
};

TEST_F(ProgressBarSinkTest, AWorkerThreadReportsThroughTheSink) {
    ProgressBarSink sink(1);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        sink.set_progress_maximum(1000);
        for (int v = 0; v <= 700; v += 100)
            sink.set_progress_value(v);
        done = true;
    });
    while (!done)
        pump();
    worker.join();
    pump();
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Minimum), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 1000);
    EXPECT_EQ(gadget_get_state(1), 700);
    EXPECT_EQ(events_suppressed(), 0);

    // A long run of tiny steps from a worker that outpaces the GUI thread:
    // nothing is lost that matters, the bar ends at its maximum.
    std::thread flood([&] {
        sink.set_progress_maximum(200000);
        for (int v = 0; v <= 200000; ++v)
            sink.set_progress_value(v);
    });
    flood.join();
    pump();
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 200000);
    EXPECT_EQ(gadget_get_state(1), 200000);
    // A new run going back shows its start at once.
    std::thread again([&] {
        sink.set_progress_maximum(10);
        sink.set_progress_value(0);
    });
    again.join();
    pump();
    EXPECT_EQ(gadget_get_state(1), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 10);

    // A sink over no bar does nothing.
    ProgressBarSink nothing(42);
    nothing.set_progress_maximum(5);
    nothing.set_progress_value(3);
}

}  // namespace
