// Labels, trimming and the date pattern of the data-section text.
#include "app/section_format.h"

#include <gtest/gtest.h>

namespace {

TEST(MakeLabel, KeepsOnlyAsciiLettersDigitsAndUnderscoresAndTheLength) {
    EXPECT_EQ(make_label(u"Hello World.txt"), u"Hello_World_txt");
    EXPECT_EQ(make_label(u"a-b.bin"), u"a_b_bin");
    EXPECT_EQ(make_label(u"a_b.bin"), u"a_b_bin");
    EXPECT_EQ(make_label(u"1st (copy) [2].DAT"), u"1st__copy___2__DAT");
    EXPECT_EQ(make_label(u"caf\u00E9.png"), u"caf__png");
    EXPECT_EQ(make_label(u"\U0001F600x"), u"__x");  // one character above U+FFFF: two units
    EXPECT_EQ(make_label(u"@[`{"), u"____");        // the neighbours of the kept ranges
    EXPECT_EQ(make_label(u""), u"");
}

TEST(TrimTrailing, CutsEveryTrailingOccurrenceIgnoringCase) {
    EXPECT_EQ(trim_trailing(u"$1,$2,", u","), u"$1,$2");
    EXPECT_EQ(trim_trailing(u"a,,,", u","), u"a");
    EXPECT_EQ(trim_trailing(u",,,", u","), u"");
    EXPECT_EQ(trim_trailing(u"nameXyZxyz", u"xyz"), u"name");
    EXPECT_EQ(trim_trailing(u"abc", u"abcd"), u"abc");
    EXPECT_EQ(trim_trailing(u"abc", u""), u"abc");  // would never end
}

TEST(FormatDate, PrintsLocalSecondsWithoutAnyZoneShift) {
    EXPECT_EQ(format_date(1614834367), u"2021/03/04 05:06:07");
    EXPECT_EQ(format_date(0), u"1970/01/01 00:00:00");
    EXPECT_EQ(format_date(951868799), u"2000/02/29 23:59:59");
    EXPECT_EQ(format_date(1735646409), u"2024/12/31 12:00:09");
    EXPECT_EQ(format_date(2147483647), u"2038/01/19 03:14:07");
    EXPECT_EQ(format_date(-1), u"0000/00/00 00:00:00");
}

}  // namespace
