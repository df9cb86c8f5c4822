// What a generation reports its progress to (the window's progress bar). It
// is called from the generation's worker thread.
#pragma once

#include <cstdint>

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Both values are bytes of input, scaled down together when the total
    // would not fit 32 bits; 0 <= value <= maximum.
    virtual void set_progress_maximum(std::int32_t maximum) noexcept = 0;
    virtual void set_progress_value(std::int32_t value) noexcept = 0;
};
