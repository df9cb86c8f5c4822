#include "system/fatal_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace {

TEST(FatalErrorMessages, KnownCodesIncludingTheSystemsOwnSpellings) {
    EXPECT_EQ(error_message_for_code(0xC0000005), u"Invalid memory access");
    EXPECT_EQ(error_message_for_code(0xC0000094), u"Division by zero ");  // the blank belongs to the text
    EXPECT_EQ(error_message_for_code(0xC000008E), u"Division by zero (floating-point)");
    EXPECT_EQ(error_message_for_code(0xC0000091), u"Floating-point overflow (exponent to great)");
    EXPECT_EQ(error_message_for_code(0xC0000093), u"Floating-point underflow (exponent too small)");
    EXPECT_EQ(error_message_for_code(0xC0000025),
              u"Exception handler tried to continue after non-continuable exception");
    EXPECT_EQ(error_message_for_code(0xC00000FD), u"Stack overflow");
    EXPECT_EQ(error_message_for_code(0x80000004), u"Single step trap");
}

TEST(FatalErrorMessages, TwentyDistinctCodesAndNothingElse) {
    const std::uint32_t listed[] = {0xC0000005, 0xC000008C, 0x80000003, 0x80000002, 0xC000008D, 0xC000008E, 0xC000008F,
                                    0xC0000090, 0xC0000091, 0xC0000092, 0xC0000093, 0xC000001D, 0xC0000006, 0xC0000094,
                                    0xC0000095, 0xC0000026, 0xC0000025, 0xC0000096, 0x80000004, 0xC00000FD};
    std::set<std::u16string_view> messages;
    for (std::uint32_t code : listed) {
        EXPECT_NE(error_message_for_code(code), u"Unknown error code") << std::hex << code;
        messages.insert(error_message_for_code(code));
    }
    EXPECT_EQ(messages.size(), 20u);
    for (std::uint32_t code : {0u, 0xC0000004u, 0xC0000097u, 0xE06D7363u, 0x80000001u, 0xFFFFFFFFu}) {
        EXPECT_EQ(error_message_for_code(code), u"Unknown error code") << std::hex << code;
    }
}

TEST(FatalErrorPlace, LineAndFileComeFromTheirBits) {
    EXPECT_EQ(error_line_of(1234), 1234);
    EXPECT_EQ(error_file_of(1234), u"Main");
    EXPECT_EQ(error_line_of(0x00FFFFFF), 0xFFFFFF);
    EXPECT_EQ(error_line_of(kLineTrackingOff), -1);
    EXPECT_EQ(error_file_of(kLineTrackingOff), u"OnError line support disabled");

    static constexpr std::u16string_view kFiles[] = {u"Main", u"generator", u"collect"};
    set_source_files(kFiles, 3);
    EXPECT_EQ(error_line_of((2 << 24) | 77), 77);
    EXPECT_EQ(error_file_of((2 << 24) | 77), u"collect");
    EXPECT_EQ(error_file_of(static_cast<std::int32_t>(0xFE000001u)), u"");  // index past the table
    EXPECT_EQ(error_line_of(static_cast<std::int32_t>(0xFE000001u)), 1);
    set_source_files(nullptr, 0);
    EXPECT_EQ(error_file_of(1 << 24), u"");
    EXPECT_EQ(error_file_of(5), u"Main");
}

TEST(FatalErrorPlace, TheMacroRecordsThisLineAndFile) {
    const int line = __LINE__ + 1;
    TRACK_LINE(3);
    EXPECT_EQ(error_line_of(current_line()), line);
    EXPECT_EQ(static_cast<std::uint32_t>(current_line()) >> 24, 3u);
    set_current_line(0x12345678, 0);  // lines beyond 24 bits cannot spill into the file index
    EXPECT_EQ(current_line(), 0x345678);
    stop_line_tracking();
    EXPECT_EQ(current_line(), kLineTrackingOff);
}

}  // namespace
