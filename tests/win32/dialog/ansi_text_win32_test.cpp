// The ANSI conversion against the platform's own, for whatever code page this
// process has.
#include "system/win32.h"

#include <gtest/gtest.h>

#include <string>

#include "dialog/ansi_text.h"
#include "system/wide.h"

namespace {

std::string platform_ansi(const std::u16string& text) {
    const int n =
        WideCharToMultiByte(CP_ACP, 0, wide(text), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide(text), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string ours(const std::u16string& text, std::size_t capacity) {
    std::string out(capacity, '\x7f');
    out.resize(ansi_from_utf16(text, out.data(), capacity));
    return out;
}

TEST(AnsiTextWin32, MatchesThePlatformConversionAcrossChunks) {
    // Long enough for several chunks, with a surrogate pair across a chunk edge.
    std::u16string text;
    for (int i = 0; i < 300; ++i)
        text += static_cast<char16_t>(u'a' + i % 26);
    text += u"\u00e9\u20ac\U0001F600\u4e2d";
    text.insert(255, u"\U0001F600");
    for (int i = 0; i < 300; ++i)
        text += u'\u00fc';
    const std::string expected = platform_ansi(text);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ours(text, expected.size() + 10), expected);
}

std::size_t character_length(unsigned char lead) {
    if (GetACP() != CP_UTF8)
        return IsDBCSLeadByte(lead) ? 2 : 1;
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

TEST(AnsiTextWin32, CutsArePrefixesOfWholeCharacters) {
    const std::u16string text = u"ab\u00e9\u4e2d\u20acz";
    const std::string full = platform_ansi(text);
    for (std::size_t capacity = 0; capacity <= full.size(); ++capacity) {
        const std::string cut = ours(text, capacity);
        ASSERT_LE(cut.size(), capacity);
        EXPECT_EQ(cut, full.substr(0, cut.size())) << capacity;
        // Nothing that would fit is left out: the rest starts with a character longer than the room left.
        if (cut.size() < full.size()) {
            const auto lead = static_cast<unsigned char>(full[cut.size()]);
            EXPECT_GT(cut.size() + character_length(lead), capacity) << capacity;
        }
    }
    EXPECT_EQ(ours(text, full.size()), full);
}

}  // namespace
