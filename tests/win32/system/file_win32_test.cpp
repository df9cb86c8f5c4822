// The Windows file backend's own rules: drive roots, wildcards, "..", reading
// without sharing, and the read-ahead buffer behind file_position.
#include "system/win32.h"

#include <gtest/gtest.h>

#include "base/object_id.h"
#include "support/scratch_dir.h"
#include "system/file.h"
#include "system/wide.h"

namespace {

TEST(FileSizeWin32, DriveRootsWithAndWithoutSeparatorAreFolders) {
    EXPECT_EQ(file_size(u"C:"), -2);
    EXPECT_EQ(file_size(u"C:\\"), -2);
    EXPECT_EQ(file_size(u"c:/"), -2);
    const DWORD drives = GetLogicalDrives();
    for (int letter = 25; letter >= 3; --letter) {
        if (drives & (1u << letter))
            continue;
        const std::u16string root{char16_t(u'A' + letter), u':'};
        EXPECT_EQ(file_size(root), -1) << char('A' + letter);
        EXPECT_EQ(file_size(root + u"\\"), -1);
        break;
    }
}

TEST(FileSizeWin32, WildcardsAndParentPathsAreNotSearchedLoosely) {
    ScratchDir dir;
    dir.write(u"only.bin", "12345");
    EXPECT_EQ(file_size(dir.path(u"*")), -1);  // would otherwise report only.bin's 5 bytes
    EXPECT_EQ(file_size(dir.path(u"only.?in")), -1);
    EXPECT_EQ(file_size(dir.path(u"only.bin\\")), 5);
    EXPECT_EQ(file_size(u".."), -2);
    EXPECT_EQ(file_size(u"..\\"), -2);
}

TEST(OpenFileForReadingWin32, ShareNothingWithOtherOpeners) {
    ScratchDir dir;
    const std::u16string path = dir.write(u"locked.bin", "data");
    ASSERT_NE(open_file_for_reading(1, path), 0);
    EXPECT_EQ(open_file_for_reading(2, path), 0);
    close_file(1);

    HANDLE other = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(open_file_for_reading(2, path), 0);
    CloseHandle(other);
    EXPECT_NE(open_file_for_reading(2, path), 0);
    // Opened again under the number that holds it: the old open goes first.
    EXPECT_NE(open_file_for_reading(2, path), 0);
    EXPECT_EQ(file_length(2), 4);
    close_file(2);
}

// Opening unshared holds off this system's writers, not every change: a Unix
// process beside Wine can write, and anyone may set the times through a handle
// that asks only for that. The stamp must tell, though the length stays.
TEST(FileStampWin32, AChangeThatSharingDoesNotStopChangesTheStamp) {
    ScratchDir dir;
    const std::u16string path = dir.write(u"touched.bin", std::string(4096, 'a'));
    const std::intptr_t file = open_file_for_reading(PB_Any, path);
    ASSERT_NE(file, 0);
    const FileStamp before = file_stamp(file);
    HANDLE times =
        CreateFileW(wide(path), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(times, INVALID_HANDLE_VALUE) << GetLastError();
    SYSTEMTIME then{2001, 2, 0, 3, 4, 5, 6, 0};
    FILETIME written{};
    ASSERT_TRUE(SystemTimeToFileTime(&then, &written));
    EXPECT_TRUE(SetFileTime(times, nullptr, nullptr, &written));
    CloseHandle(times);
    const FileStamp after = file_stamp(file);
    close_file(file);
    EXPECT_EQ(after.length, before.length);
    EXPECT_NE(after, before);
}

TEST(FilePositionWin32, CountsBytesDeliveredNotBytesReadAhead) {
    ScratchDir dir;
    const std::u16string path = dir.write(u"ten-thousand.bin", std::string(10000, 'x'));
    const std::intptr_t handle = open_file_for_reading(1, path);  // a number gives the platform handle
    ASSERT_NE(handle, 0);
    EXPECT_EQ(read_quad(1), 0x7878787878787878ULL);
    LARGE_INTEGER zero{}, pointer{};
    ASSERT_TRUE(SetFilePointerEx(reinterpret_cast<HANDLE>(handle), zero, &pointer, FILE_CURRENT));
    EXPECT_EQ(pointer.QuadPart, 4096);
    EXPECT_EQ(file_position(1), 8);
    close_file(1);
}

// What a link's own entry says (a folder link's date, a file link's size of 0
// on Windows) is not what it leads to: sizes and dates follow links.
TEST(FileFactsWin32, LinksAreFollowedToWhatTheyName) {
    const std::u16string links = u"" BLOBSMITH_TEST_LINKS;
    const std::u16string folder = links + u"\\target", folder_link = links + u"\\to-target";
    if (file_size(folder_link) != -2)
        GTEST_SKIP() << "the build made no links";
    ASSERT_TRUE(ScratchDir::set_modified(folder, 2001, 2, 3, 4, 5, 6));
    const std::int32_t date = file_date(folder, FILE_DATE_MODIFIED);
    EXPECT_EQ(file_date(folder_link, FILE_DATE_MODIFIED), date);
    EXPECT_EQ(file_facts(folder_link).size, -2);
    EXPECT_EQ(file_facts(folder_link).date, date);

    const std::u16string file = folder + u"\\data.bin", file_link = links + u"\\to-data.bin";
    ASSERT_TRUE(ScratchDir::set_modified(file, 2002, 3, 4, 5, 6, 7));
    EXPECT_EQ(file_size(file_link), 24);
    EXPECT_EQ(file_facts(file_link).size, 24);
    EXPECT_EQ(file_facts(file_link).date, file_date(file, FILE_DATE_MODIFIED));
}

}  // namespace
