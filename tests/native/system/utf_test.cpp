#include "system/utf.h"
#include "system/name_cut.h"

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
    EXPECT_EQ(utf16_from_utf8("\xC3"), u"\uFFFD");            // truncated
    EXPECT_EQ(utf16_from_utf8("\xC0\xAF"), u"\uFFFD");        // overlong
    EXPECT_EQ(utf16_from_utf8("\xED\xA0\x80z"), u"\uFFFDz");  // encoded surrogate
    EXPECT_EQ(utf16_from_utf8("\xE2\x82"
                              "A"),
              u"\uFFFDA");
}

TEST(Utf, AsciiLowerLeavesOtherLettersAlone) {
    EXPECT_EQ(ascii_lower(u"ABC.Txt\u00c9\u0130"), u"abc.txt\u00c9\u0130");
}

}  // namespace

TEST(CutLastName, MakesRoomForASuffixWithoutSplittingACharacter) {
    // Short enough: unchanged, whatever the folders before it.
    EXPECT_EQ(cut_last_name(std::string("/a/b/name"), 7), "/a/b/name");
    const std::string folder = "/" + std::string(300, 'f') + "/";
    EXPECT_EQ(cut_last_name(folder + std::string(248, 'n'), 7), folder + std::string(248, 'n'));
    // Too long: cut to fit, the folders kept.
    EXPECT_EQ(cut_last_name(folder + std::string(250, 'n'), 7), folder + std::string(248, 'n'));
    EXPECT_EQ(cut_last_name(std::u16string(u"C:\\x\\") + std::u16string(260, u'n'), 20, 255),
              std::u16string(u"C:\\x\\") + std::u16string(235, u'n'));
    // Not inside a character: a two-byte letter at the cut goes whole.
    const std::string letters = std::string(247, 'n') + "\xc3\xa9" + "tail";
    EXPECT_EQ(cut_last_name("/d/" + letters, 7), "/d/" + std::string(247, 'n'));
    const std::u16string pair = std::u16string(234, u'n') + u"\U0001F600" + u"tail";
    EXPECT_EQ(cut_last_name(u"d\\" + pair, 20), u"d\\" + std::u16string(234, u'n'));
}
