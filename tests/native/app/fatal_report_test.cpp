// The fatal-error box's text.
#include "app/fatal_report.h"

#include <gtest/gtest.h>

TEST(FatalReport, FileLineUpperCasedMessageAndABlankLine) {
    EXPECT_EQ(fatal_error_text(u"Main", 412, u"Invalid memory access"),
              u"Main [412]\r\nINVALID MEMORY ACCESS\r\n" + std::u16string(64, u' '));
    EXPECT_EQ(fatal_error_text(u"OnError line support disabled", -1, u"Stack overflow (ok)"),
              u"OnError line support disabled [-1]\r\nSTACK OVERFLOW (OK)\r\n" + std::u16string(64, u' '));
}
