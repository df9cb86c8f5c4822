// The native build has no clipboard: asking for it says so, and the text is
// still there for the caller.
#include "app/data_section.h"

#include <gtest/gtest.h>

#include "app/busy_flag.h"

namespace {

TEST(GenerateDataSection, ReportsTheMissingClipboardNatively) {
    file_map().clear();
    ASSERT_TRUE(busy_flag_try_set());
    DataSection section = generate_data_section(1);
    EXPECT_EQ(section.status, GenerationStatus::NoClipboard);
    EXPECT_EQ(section.text.view(), u"DataSection\r\n\r\nEndDataSection\r\n");
    EXPECT_FALSE(busy_flag_is_set());
}

}  // namespace
