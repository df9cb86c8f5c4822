#include "system/utf.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf, RoundTripsEveryPlane) {
    const std::u16string text = u"a\u00e9\u20ac\U0001F600z";
    const std::string utf8 = utf8_from_utf16(text);
    EXPECT_EQ(utf8, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(utf16_from_utf8(utf8), text);
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(utf8_from_utf16(std::u16string{u'x', char16_t(0xD800), u'y'}), "x\xEF\xBF\xBDy");
    EXPECT_EQ(utf8_from_utf16(std::u16string{char16_t(0xDC00)}), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8_from_utf16(std::u16string{char16_t(0xD83D)}), "\xEF\xBF\xBD");  // cut pair at the end
}

TEST(Utf, MalformedUtf8BecomesReplacementCharactersWithoutLosingWhatFollows) {
    EXPECT_EQ(utf16_from_utf8("a\xFF"
                              "b"),
              u"a\uFFFDb");
    EXPECT_EQ(utf16_from_utf8("\xC3"), u"\uFFFD");              // truncated
    EXPECT_EQ(utf16_from_utf8("\xC0\xAF"), u"\uFFFD");          // overlong
    EXPECT_EQ(utf16_from_utf8("\xED\xA0\x80z"), u"\uFFFDz");    // encoded surrogate
    EXPECT_EQ(utf16_from_utf8("\xE2\x82"
                              "A"),
              u"\uFFFDA");
}

TEST(Utf, AsciiLowerLeavesOtherLettersAlone) {
    EXPECT_EQ(ascii_lower(u"ABC.Txt\u00c9\u0130"), u"abc.txt\u00c9\u0130");
}

}  // namespace
