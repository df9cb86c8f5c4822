// A progress bar for a terminal, for the command line: bytes done and total,
// drawn only once the work has taken more than a moment.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/progress.h"

class TerminalProgress : public ProgressSink {
public:
    using Clock = std::chrono::steady_clock;
    using Write = std::function<void(std::u16string_view)>;

    static constexpr Clock::duration kDelay = std::chrono::milliseconds(500);     // before the first bar
    static constexpr Clock::duration kInterval = std::chrono::milliseconds(100);  // between bars

    // `total_bytes` is what the bar's maximum stands for (the sink's values
    // may be scaled down); `write` puts a piece of the line on the terminal.
    TerminalProgress(double total_bytes, Write write, Clock::time_point start = Clock::now());

    void set_progress_maximum(std::int32_t maximum) noexcept override { maximum_ = maximum; }
    void set_progress_value(std::int32_t value) noexcept override { update(value, Clock::now()); }

    // The value as of `now`: drawn when the delay has passed and the last bar
    // is old enough.
    void update(std::int32_t value, Clock::time_point now) noexcept;
    // Completes a bar that was drawn (full, then a line end); nothing otherwise.
    // Work that failed keeps the bar where it stopped: full would read as done.
    void finish(bool completed = true) noexcept;

private:
    void draw(std::int32_t value) noexcept;

    double total_bytes_;
    Write write_;
    std::int32_t maximum_ = 0;
    Clock::time_point start_;
    Clock::time_point last_{};
    bool drawn_ = false;
};

// "0 B", "1023 B", "1.5 KiB", "12.0 MiB" ...
[[nodiscard]] std::u16string byte_count(double bytes);
