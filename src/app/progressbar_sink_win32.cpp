// Progress from the worker thread, posted to the bar. The common gadget
// operations would touch the gadget registry and the event suppression
// counter, which belong to the GUI thread and have no lock; posting never
// blocks the worker either, so a GUI thread waiting for it cannot deadlock.
#include "app/progressbar_sink.h"

#include <algorithm>

#include "gadget/gadget_kinds.h"

namespace {
constexpr std::int64_t kShownSteps = 500;
}  // namespace

ProgressBarSink::ProgressBarSink(std::intptr_t gadget) : control_(gadget_handle(gadget)) {
    if (control_) {
        minimum_ = gadget_get_attribute(gadget, PB_ProgressBar_Minimum);
        maximum_ = gadget_get_attribute(gadget, PB_ProgressBar_Maximum);
    }
}

void ProgressBarSink::set_progress_maximum(std::int32_t maximum) noexcept {
    maximum_ = maximum;
    last_shown_ = kNothingShown;
    post_progressbar_range(control_, minimum_, maximum);
}

void ProgressBarSink::set_progress_value(std::int32_t value) noexcept {
    if (!control_)
        return;
    const std::int32_t low = minimum_, high = maximum_;
    const std::int64_t step = std::max<std::int64_t>(1, (std::int64_t{high} - low) / kShownSteps);
    const std::int64_t last = last_shown_;
    if (last != kNothingShown && value != high && value >= last && value - last < step)
        return;
    last_shown_ = value;
    post_progressbar_value(control_, low, high, value);
}
