// POSIX specifics of the file layer: long paths, and files that are no plain files.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/object_id.h"
#include "support/scratch_dir.h"
#include "system/file.h"
#include "system/utf.h"

namespace {

TEST(FileSizePosix, LongPathsAreNotCutToAnotherName) {
    ScratchDir dir;
    std::u16string name;
    for (int i = 0; i < 6; ++i)
        name += std::u16string(60, char16_t(u'a' + i)) + u"/";
    const std::u16string file = dir.write(name + u"f.bin", "12345");
    ASSERT_GT(file.size(), 300u);
    EXPECT_EQ(file_size(file), 5);
    EXPECT_EQ(file_size(file.substr(0, 260)), -1);
}

TEST(FileSizePosix, PipesCountAsNothingAndAreNeverOpened) {
    ScratchDir dir;
    const std::u16string fifo = dir.path(u"pipe");
    ASSERT_EQ(mkfifo(utf8_from_utf16(fifo).c_str(), 0600), 0);
    EXPECT_EQ(file_size(fifo), -1);
    EXPECT_EQ(open_file_for_reading(PB_Any, fifo), 0);  // would block for a writer otherwise
}

TEST(FileStampPosix, TheStampAtOpenStaysTheOpensOwn) {
    ScratchDir dir;
    const std::u16string path = dir.write(u"s.bin", "abc");
    const std::intptr_t f = open_file_for_reading(PB_Any, path, FILE_UNBUFFERED);
    ASSERT_NE(f, 0);
    const FileStamp opened = file_stamp_at_open(f);
    EXPECT_EQ(opened.length, 3);
    EXPECT_EQ(opened, file_stamp(f));
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::app);
        out << "de";
    }
    EXPECT_EQ(file_stamp(f).length, 5);
    EXPECT_EQ(file_stamp_at_open(f), opened);
    char bytes[8] = {};
    EXPECT_EQ(read_data(f, bytes, 8), 5);
    close_file(f);
    EXPECT_EQ(file_stamp_at_open(f), FileStamp{});
}

}  // namespace
