// Progress from the worker thread, posted to the bar's control. The common
// operations would touch the gadget registry and the event suppression
// counter, which belong to the GUI thread and have no lock; posting never
// blocks the worker either, so a GUI thread waiting for it cannot deadlock.
#include "gadget/progressbar_sink.h"

#include "gadget/gadget.h"
#include "gadget/progressbar_messages_win32.h"

#include <commctrl.h>

ProgressBarSink::ProgressBarSink(std::intptr_t gadget) : control_(gadget_handle(gadget)) {
    if (const auto control = static_cast<HWND>(control_)) {
        minimum_ = progress_range_limit(control, true);
        maximum_ = progress_range_limit(control, false);
    }
}

void ProgressBarSink::set_progress_maximum(std::int32_t maximum) noexcept {
    maximum_ = maximum;
    if (control_)
        PostMessageW(static_cast<HWND>(control_), PBM_SETRANGE32, static_cast<WPARAM>(minimum_.load()),
                     static_cast<LPARAM>(maximum));
}

void ProgressBarSink::set_progress_value(std::int32_t value) noexcept {
    if (control_)
        progress_show_value(static_cast<HWND>(control_), minimum_, maximum_, value, true);
}
