// The command line's progress bar.
#include "app/terminal_progress.h"

#include <exception>

#include "app/byte_size.h"
#include "system/utf.h"

namespace {

constexpr int kWidth = 30;

}  // namespace

TerminalProgress::TerminalProgress(double total_bytes, Write write, Clock::time_point start)
    : total_bytes_(total_bytes), write_(std::move(write)), start_(start) {}

void TerminalProgress::update(std::int32_t value, Clock::time_point now) noexcept {
    // Quick runs print nothing at all.
    if (now - start_ < kDelay)
        return;
    if (drawn_ && now - last_ < kInterval)
        return;
    last_ = now;
    draw(value);
}

void TerminalProgress::finish(bool completed) noexcept {
    if (!drawn_)
        return;
    if (completed)
        draw(maximum_);
    try {
        write_(u"\n");
    } catch (const std::exception&) {
    }
}

void TerminalProgress::draw(std::int32_t value) noexcept {
    try {
        // Whole numbers for the bar: x87 doubles of the 32-bit build would put
        // 700 / 1000 * 30 just below 21.
        std::int64_t done = maximum_ > 0 ? value : 1, whole = maximum_ > 0 ? maximum_ : 1;
        if (done < 0)
            done = 0;
        if (done > whole)
            done = whole;
        const int filled = static_cast<int>(done * kWidth / whole);
        const double fraction = static_cast<double>(done) / static_cast<double>(whole);
        std::u16string line = u"\r[";
        line.append(static_cast<std::size_t>(filled), u'#');
        line.append(static_cast<std::size_t>(kWidth - filled), u' ');
        // Trailing blanks wipe what a longer earlier line left.
        line += u"] " + byte_count(fraction * total_bytes_) + u" of " + byte_count(total_bytes_) + u"   ";
        write_(line);
        drawn_ = true;
    } catch (const std::exception&) {
        // No memory for a progress line: the work matters more.
    }
}

std::u16string byte_count(double bytes) {
    return byte_size_text(bytes, u" ", u"B", u"B");
}
