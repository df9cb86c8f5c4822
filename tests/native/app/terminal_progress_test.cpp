// The command line's progress bar, driven with a clock of the test's own.
#include "app/terminal_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = TerminalProgress::Clock;

struct Terminal {
    std::vector<std::u16string> pieces;
    TerminalProgress::Write writer() {
        return [this](std::u16string_view piece) { pieces.emplace_back(piece); };
    }
};

TEST(TerminalProgress, QuickWorkDrawsNothing) {
    Terminal terminal;
    const Clock::time_point start{};
    TerminalProgress bar(1000, terminal.writer(), start);
    bar.set_progress_maximum(1000);
    bar.update(0, start);
    bar.update(1000, start + 499ms);
    bar.finish();
    EXPECT_TRUE(terminal.pieces.empty());
}

TEST(TerminalProgress, DrawsBytesOfTheTotalAtMostEveryTenthOfASecond) {
    Terminal terminal;
    const Clock::time_point start{};
    // The values the sink gets may be scaled; the text shows bytes of the real total.
    TerminalProgress bar(3 * 1024 * 1024, terminal.writer(), start);
    bar.set_progress_maximum(1000);
    bar.update(500, start + 600ms);
    bar.update(600, start + 650ms);
    bar.update(700, start + 700ms);
    ASSERT_EQ(terminal.pieces.size(), 2u);
    EXPECT_EQ(terminal.pieces[0], u"\r[###############               ] 1.5 MiB of 3.0 MiB   ");
    EXPECT_EQ(terminal.pieces[1].substr(0, 23), u"\r[#####################");
    bar.finish();
    ASSERT_EQ(terminal.pieces.size(), 4u);
    EXPECT_EQ(terminal.pieces[2], u"\r[##############################] 3.0 MiB of 3.0 MiB   ");
    EXPECT_EQ(terminal.pieces[3], u"\n");

    // Work that failed ends the line where the bar stood.
    TerminalProgress failed(3 * 1024 * 1024, terminal.writer(), start);
    failed.set_progress_maximum(1000);
    failed.update(500, start + 600ms);
    failed.finish(false);
    ASSERT_EQ(terminal.pieces.size(), 6u);
    EXPECT_EQ(terminal.pieces[4].substr(0, 17), u"\r[###############");
    EXPECT_EQ(terminal.pieces[5], u"\n");
}

TEST(TerminalProgress, ByteCountsChooseTheirUnit) {
    EXPECT_EQ(byte_count(0), u"0 B");
    EXPECT_EQ(byte_count(1023), u"1023 B");
    EXPECT_EQ(byte_count(1023.7), u"1.0 KiB");  // not "1024 B"
    EXPECT_EQ(byte_count(1536), u"1.5 KiB");
    EXPECT_EQ(byte_count(1024 * 1024 - 1), u"1.0 MiB");  // not "1024.0 KiB"
    EXPECT_EQ(byte_count(5.0 * 1024 * 1024 * 1024), u"5.0 GiB");
}

}  // namespace
