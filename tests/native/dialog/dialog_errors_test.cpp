#include "dialog/dialog_errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

std::string format(std::string_view f, std::initializer_list<std::u16string_view> args = {}) {
    const DialogErrorMessage m = format_dialog_error(f, args);
    EXPECT_EQ(std::strlen(m.text), m.length);  // NUL-terminated where it says
    return std::string(m.view());
}

TEST(DialogErrors, FillsEachPlaceholderWithTheNextArgument) {
    EXPECT_EQ(format(kErrorFlagNotSupported, {u"PB_Text_Center", u"button"}),
              "'#PB_Text_Center' flag is not supported for the following gadget: button");
    // An empty second argument makes the message end in "runtime.".
    EXPECT_EQ(format(kErrorConstantNotFound, {u"#MyId", u""}),
              "'#MyId' constant is not found or not declared as runtime.");
    EXPECT_EQ(format(kErrorWindowNotFound), "Dialog window not found");
    EXPECT_EQ(format("%s|%s", {u"a"}), "a|");                                // missing arguments are empty
    EXPECT_EQ(format("%s", {u"a", u"b"}), "a");                              // extra ones are unused
    EXPECT_EQ(format("100%% %d %", {u"x"}), "100% %d %");                    // only %s takes arguments
    EXPECT_EQ(format("'%s'", {std::u16string_view(u"ab\0cd", 5)}), "'ab'");  // C-string arguments end at NUL
    EXPECT_EQ(format("%s", {u"\u4e2d"}), "?");                               // not in any single-byte page
}

TEST(DialogErrors, OverlongArgumentsAreCutNeverOverflow) {
    const std::u16string huge(5000, u'A');
    std::string m = format(kErrorFlagNotSupported, {huge, u"button"});
    EXPECT_EQ(m.size(), 511u);
    EXPECT_EQ(m.substr(0, 4), "'#AA");
    EXPECT_EQ(m.find_first_not_of('A', 2), std::string::npos);

    // Cut inside the second argument and inside the format's own text.
    m = format(kErrorFlagNotSupported, {std::u16string(400, u'B'), huge});
    EXPECT_EQ(m.size(), 511u);
    const std::string middle = "' flag is not supported for the following gadget: ";
    EXPECT_EQ(m.substr(402, middle.size()), middle);
    EXPECT_EQ(m.back(), 'A');
    m = format(std::string(600, 'x') + "%s", {u"tail"});
    EXPECT_EQ(m, std::string(511, 'x'));
    // Exactly full.
    m = format("%s", {std::u16string(511, u'C')});
    EXPECT_EQ(m, std::string(511, 'C'));
}

// Random formats and arguments of every length around the buffer's size: the
// sanitizers of the native build see any write past it.
TEST(DialogErrors, RandomMessagesStayInsideTheBuffer) {
    std::mt19937 random(6);
    const char pieces[] = "%s%%ab ";
    for (int round = 0; round < 2000; ++round) {
        std::string f(random() % 700, ' ');
        for (char& c : f)
            c = pieces[random() % (sizeof pieces - 1)];
        std::u16string a(random() % 1100, u'x'), b(random() % 600, u'\u00e9');
        if (!b.empty())
            b[random() % b.size()] = static_cast<char16_t>(random() % 0x10000);
        const DialogErrorMessage m = format_dialog_error(f, {a, b});
        ASSERT_LE(m.length, sizeof m.text - 1);
        ASSERT_EQ(m.text[m.length], '\0');
    }
}

TEST(DialogErrors, TheFirstRecordedErrorIsKept) {
    DialogErrorText errors;
    EXPECT_FALSE(errors.has_error());
    record_dialog_error(errors, kErrorNotRuntimeProcedure, {u"OnFirst"});
    record_dialog_error(errors, kErrorNotRuntimeProcedure, {u"OnSecond"});
    record_dialog_error(errors, kErrorWindowNotFound);
    EXPECT_TRUE(errors.has_error());
    EXPECT_EQ(errors.text(), "'OnFirst' is not a runtime procedure.");

    errors.clear();  // a new opening starts without an error
    EXPECT_FALSE(errors.has_error());
    record_dialog_error(errors, kErrorEventNotSupported, {u"onLeftClick", u"text"});
    EXPECT_EQ(errors.text(), "'onLeftClick' is not supported for the following gadget: text");
}

// A sink whose owner could not store the text still counts as holding an error.
struct CountingSink final : DialogErrorSink {
    int kept = 0;
    bool has_error() const noexcept override { return kept > 0; }
    void keep_error(std::string_view) noexcept override { ++kept; }
};

TEST(DialogErrors, LaterErrorsDoNotReachTheSink) {
    CountingSink sink;
    record_dialog_error(sink, kErrorWindowNotFound);
    record_dialog_error(sink, kErrorWindowNotFound);
    EXPECT_EQ(sink.kept, 1);
}

}  // namespace
