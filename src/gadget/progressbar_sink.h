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
    void set_progress_value(std::int32_t value) noexcept override;

private:
    void* control_;
    std::atomic<std::int32_t> minimum_{0};
    std::atomic<std::int32_t> maximum_{0};
};
