// Progress from the worker thread, posted to the bar. The common gadget
// operations would touch the gadget registry and the event suppression
// counter, which belong to the GUI thread and have no lock; posting never
// blocks the worker either, so a GUI thread waiting for it cannot deadlock.
#include "app/progressbar_sink.h"

#include <algorithm>
#include <chrono>

#include "gadget/gadget_kinds.h"

namespace {

constexpr std::int64_t kShownSteps = 500;
// Each value shown is four messages, which under Wine take the GUI thread
// about 2 ms: 500 values in a fast run held the window up for a second
// after the Copy itself was done.
constexpr std::int64_t kShownEveryMs = 40;
// A step of a twentieth of the range or more is shown at once: a skipped value
// stays on no one's list, and the next may come only when a large file has
// been read (the bar sat at 0 through it).
constexpr std::int64_t kShownAtOnceParts = 20;

std::int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

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
    const std::int64_t range = std::int64_t{high} - low;
    const std::int64_t step = std::max<std::int64_t>(1, range / kShownSteps);
    const std::int64_t last = last_shown_;
    const std::int64_t now = now_ms();
    if (last != kNothingShown && value != high && value >= last &&
        (value - last < step || (now - last_shown_at_ < kShownEveryMs && value - last < range / kShownAtOnceParts)))
        return;
    last_shown_ = value;
    last_shown_at_ = now;
    post_progressbar_value(control_, low, high, value);
}
