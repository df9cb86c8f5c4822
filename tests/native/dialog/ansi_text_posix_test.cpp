#include "dialog/ansi_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ansi(std::u16string_view text, std::size_t capacity = 64) {
    std::string out(capacity, '\x7f');
    out.resize(ansi_from_utf16(text, out.data(), capacity));
    return out;
}

TEST(AnsiText, LatinOneStandsInForTheAnsiPageOffWindows) {
    EXPECT_EQ(ansi(u"abc"), "abc");
    EXPECT_EQ(ansi(u"\u00e9\u00ff"), "\xe9\xff");
    EXPECT_EQ(ansi(u"\u0100\u20ac"), "??");
    EXPECT_EQ(ansi(u"x\U0001F600y"), "x?y");                               // a pair is one character
    EXPECT_EQ(ansi(std::u16string{u'x', char16_t(0xDC00), u'y'}), "x?y");  // so is a lone surrogate
}

TEST(AnsiText, StopsAtTheCapacity) {
    EXPECT_EQ(ansi(u"abcdef", 3), "abc");
    EXPECT_EQ(ansi(u"ab\U0001F600", 3), "ab?");
    EXPECT_EQ(ansi(u"abc", 0), "");
}

}  // namespace
