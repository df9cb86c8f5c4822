#include "xml/newline_style.h"

#include <gtest/gtest.h>

#include <string>

#include "xml/xml_document.h"

namespace {

std::int32_t style_of(std::u16string_view text) {
    return detect_newline_style(text.data(), text.size() * 2);
}
std::int32_t style_of(std::string_view bytes) {
    return detect_newline_style(bytes.data(), bytes.size());
}

TEST(NewlineStyle, SixteenBitUnitsFromTheFirstBreak) {
    EXPECT_EQ(style_of(u"ab\r\ncd\n"), NEWLINE_CRLF);
    EXPECT_EQ(style_of(u"ab\ncd\r\n"), NEWLINE_LF);
    EXPECT_EQ(style_of(u"ab\rcd\r\n"), NEWLINE_CR);
    EXPECT_EQ(style_of(u"abcdef"), NEWLINE_NONE);
    EXPECT_EQ(style_of(u"\nabc\r\nx"), NEWLINE_CRLF) << "a leading LF is skipped";
    EXPECT_EQ(style_of(u"abcde\n"), NEWLINE_NONE) << "the last unit is never examined";
    EXPECT_EQ(style_of(u"abcde\r\n"), NEWLINE_CRLF) << "but it completes a CR LF";
    EXPECT_EQ(style_of(u"abcd\r"), NEWLINE_NONE);
    // A unit whose low byte is CR is not a line break in 16-bit units.
    EXPECT_EQ(style_of(u"abcde\u0a0d\u0d0a"), NEWLINE_NONE);
}

TEST(NewlineStyle, FewZeroBytesMeanBytes) {
    EXPECT_EQ(style_of(std::string_view("ab\r\ncd")), NEWLINE_CRLF);
    EXPECT_EQ(style_of(std::string_view("ab\rcd")), NEWLINE_CR);
    EXPECT_EQ(style_of(std::string_view("\nab\ncd")), NEWLINE_LF);
    EXPECT_EQ(style_of(std::string_view("abc\n")), NEWLINE_NONE);
    EXPECT_EQ(style_of(std::string_view("a\0\0\0\0b\r\n", 8)), NEWLINE_CRLF) << "four zeros are still bytes";
    // Two units of 16-bit text have too few zero bytes to be taken as units.
    EXPECT_EQ(style_of(u"\r\n"), NEWLINE_CR);
}

TEST(NewlineStyle, EmptyAndWrappingBuffersHaveNone) {
    EXPECT_EQ(detect_newline_style(nullptr, 0), NEWLINE_NONE);
    EXPECT_EQ(detect_newline_style("", 0), NEWLINE_NONE);
    const char* near_end = reinterpret_cast<const char*>(UINTPTR_MAX - 3);
    EXPECT_EQ(detect_newline_style(near_end, 16), NEWLINE_NONE);
}

}  // namespace
