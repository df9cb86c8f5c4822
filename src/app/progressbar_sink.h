// The generator's progress, shown on a progress bar gadget. Made on the GUI
// thread; its calls come from the worker thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "app/progress.h"

class ProgressBarSink final : public ProgressSink {
public:
    // Remembers the bar's control and range: the worker never looks gadgets up.
    explicit ProgressBarSink(std::intptr_t gadget);

    void set_progress_maximum(std::int32_t maximum) noexcept override;
    // Values closer than a 500th of the range to the last one shown, or
    // within 40 ms of it and less than a twentieth of the range on, are
    // skipped (the maximum and going back are always shown), so that a fast
    // run cannot flood the GUI thread's message queue.
    void set_progress_value(std::int32_t value) noexcept override;

private:
    void* control_;
    std::atomic<std::int32_t> minimum_{0};
    std::atomic<std::int32_t> maximum_{0};
    static constexpr std::int64_t kNothingShown = INT64_MIN;
    std::atomic<std::int64_t> last_shown_{kNothingShown};
    std::atomic<std::int64_t> last_shown_at_{0};  // steady clock, milliseconds
};
