// Progress from the worker thread, posted to the bar's control. The common
// operations would touch the gadget registry and the event suppression
// counter, which belong to the GUI thread and have no lock; posting never
// blocks the worker either, so a GUI thread waiting for it cannot deadlock.
#include "gadget/progressbar_sink.h"

#include <algorithm>

#include "gadget/gadget.h"
#include "gadget/progressbar_messages_win32.h"

#include <commctrl.h>

namespace {
constexpr std::int64_t kShownSteps = 500;
}  // namespace

ProgressBarSink::ProgressBarSink(std::intptr_t gadget) : control_(gadget_handle(gadget)) {
    if (const auto control = static_cast<HWND>(control_)) {
        minimum_ = progress_range_limit(control, true);
        maximum_ = progress_range_limit(control, false);
    }
}

void ProgressBarSink::set_progress_maximum(std::int32_t maximum) noexcept {
    maximum_ = maximum;
    last_shown_ = kNothingShown;
    if (control_)
        PostMessageW(static_cast<HWND>(control_), PBM_SETRANGE32, static_cast<WPARAM>(minimum_.load()),
                     static_cast<LPARAM>(maximum));
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
    progress_show_value(static_cast<HWND>(control_), low, high, value, true);
}
