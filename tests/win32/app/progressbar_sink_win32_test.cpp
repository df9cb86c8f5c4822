// The generator's progress on a real progress bar, reported from worker threads.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/progressbar_sink.h"
#include "win32/gadget/gadget_test_support_win32.h"
#include "window/event_queue.h"

#include <commctrl.h>

namespace {

// Counts the positions that reach the bar.
WNDPROC g_bar_proc = nullptr;
int g_positions_shown = 0;
LRESULT CALLBACK counting_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == PBM_SETPOS)
        ++g_positions_shown;
    return CallWindowProcW(g_bar_proc, hwnd, message, wparam, lparam);
}

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
        // A value 40 ms or more after the last one shown is shown too.
        Sleep(50);
        sink.set_progress_value(750);
        done = true;
    });
    while (!done)
        pump();
    worker.join();
    pump();
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Minimum), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 1000);
    EXPECT_EQ(gadget_get_state(1), 750);
    EXPECT_EQ(events_suppressed(), 0);

    // A long run of tiny steps from a worker that outpaces the GUI thread:
    // nothing is lost that matters, the bar ends at its maximum, and the GUI
    // thread gets a handful of positions, not one per 500th of the range.
    const HWND bar = hwnd(1);
    g_bar_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&counting_proc)));
    g_positions_shown = 0;
    std::chrono::milliseconds flood_time{};
    std::thread flood([&] {
        const auto start = std::chrono::steady_clock::now();
        sink.set_progress_maximum(200000);
        for (int v = 0; v <= 200000; ++v)
            sink.set_progress_value(v);
        flood_time = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    });
    flood.join();
    pump();
    SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_bar_proc));
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 200000);
    EXPECT_EQ(gadget_get_state(1), 200000);
    EXPECT_GE(g_positions_shown, 2);  // the first value and the last, each with its overshoot
    // At most one position per 40 ms of the run, and one per twentieth of the
    // range (each with its overshoot), however slow the machine.
    EXPECT_LE(g_positions_shown, 2 * (flood_time.count() / 40 + 3 + 20)) << flood_time.count() << " ms";
    // A new run going back shows its start at once.
    std::thread again([&] {
        sink.set_progress_maximum(10);
        sink.set_progress_value(0);
    });
    again.join();
    pump();
    EXPECT_EQ(gadget_get_state(1), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 10);

    // A large file's share, reported just after the start and then nothing
    // until it has been read: shown at once, not skipped for coming soon.
    std::thread large_file([&] {
        sink.set_progress_maximum(1000);
        sink.set_progress_value(0);
        sink.set_progress_value(600);
    });
    large_file.join();
    pump();
    EXPECT_EQ(gadget_get_state(1), 600);

    // A sink over no bar does nothing.
    ProgressBarSink nothing(42);
    nothing.set_progress_maximum(5);
    nothing.set_progress_value(3);
}

}  // namespace
