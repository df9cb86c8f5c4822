// What the out-of-memory box names: the largest files, largest first.
#include "app/largest_files.h"

#include <gtest/gtest.h>

namespace {

// A no-break space before the unit: a box must not part them.
TEST(LargestFiles, SizesReadAsUsersReadThem) {
    EXPECT_EQ(size_text(0), u"0\u00A0bytes");
    EXPECT_EQ(size_text(1), u"1\u00A0byte");
    EXPECT_EQ(size_text(1023), u"1023\u00A0bytes");
    EXPECT_EQ(size_text(1024), u"1.0\u00A0KiB");
    EXPECT_EQ(size_text(1536), u"1.5\u00A0KiB");
    EXPECT_EQ(size_text(1024 * 1024 - 1), u"1.0\u00A0MiB");  // not "1024.0 KiB"
    EXPECT_EQ(size_text(2147483647), u"2.0\u00A0GiB");
}

TEST(LargestFiles, NamesTheLargestFirstAndOnlyFiles) {
    FileMap map;
    const auto add = [&map](const char16_t* name, std::int32_t size) {
        FileEntry& entry = map.insert(name);
        entry.path = std::u16string(u"C:\\") + name;
        entry.size = size;
    };
    add(u"small.bin", 10);
    add(u"big.bin", 300 * 1024 * 1024);
    add(u"gone.bin", FILE_ENTRY_MISSING);
    add(u"middle.bin", 2048);
    add(u"twin-b.bin", 2048);
    add(u"empty.bin", 0);
    EXPECT_EQ(
        largest_files_lines(map, 3, 0),
        u"    C:\\big.bin (300.0\u00A0MiB)\r\n    C:\\middle.bin (2.0\u00A0KiB)\r\n    C:\\twin-b.bin (2.0\u00A0KiB)");
    EXPECT_EQ(largest_files_lines(map, 10, 0).find(u"gone"), std::u16string::npos);
    FileMap none;
    EXPECT_EQ(largest_files_lines(none, 5, 0), u"");
}

}  // namespace
