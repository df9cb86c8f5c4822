// Names the platform would change on the way in (a trailing dot, which the
// plain form drops) reach the file layer and the listings as they are: a
// drop lists them, so a Copy must be able to read them.
#include "system/win32.h"

#include <gtest/gtest.h>

#include <string>

#include "base/object_id.h"
#include "support/scratch_dir.h"
#include "system/directory.h"
#include "system/file.h"
#include "system/wide.h"

namespace {

std::u16string verbatim(const std::u16string& path) {
    return u"\\\\?\\" + path;
}

TEST(VerbatimPathWin32, NamesEndingInADotAreReadAndListedAsTheyAre) {
    ScratchDir dir;
    const std::u16string file = dir.path(u"end.");
    const std::u16string folder = dir.path(u"dir.");
    HANDLE made = CreateFileW(wide(verbatim(file)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(made, "dot", 3, &written, nullptr));
    CloseHandle(made);
    ASSERT_TRUE(CreateDirectoryW(wide(verbatim(folder)), nullptr));
    made = CreateFileW(wide(verbatim(folder + u"\\in.bin")), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);
    ASSERT_EQ(file_size(dir.path(u"end")), -1) << "the plain name is not the file";

    EXPECT_EQ(file_size(file), 3);
    EXPECT_EQ(file_facts(file).size, 3);
    EXPECT_NE(file_date(file, FILE_DATE_MODIFIED), 0);
    const std::intptr_t opened = open_file_for_reading(PB_Any, file);
    ASSERT_NE(opened, 0);
    char bytes[4] = {};
    EXPECT_EQ(read_data(opened, bytes, 4), 3);
    EXPECT_EQ(std::string(bytes), "dot");
    close_file(opened);

    EXPECT_EQ(file_size(folder), -2);
    int seen = 0;
    EXPECT_TRUE(list_directory(folder, u"", [&seen](const DirectoryEntry& entry) { seen += entry.name == u"in.bin"; }));
    EXPECT_EQ(seen, 1);

    DeleteFileW(wide(verbatim(folder + u"\\in.bin")));
    RemoveDirectoryW(wide(verbatim(folder)));
    DeleteFileW(wide(verbatim(file)));
}

// Files named like devices (only the verbatim form makes them, but other
// systems' folders hold them): the plain form would open the device, and a
// Copy would carry its nothing as the file.
TEST(VerbatimPathWin32, FilesNamedLikeDevicesAreTheFilesNotTheDevices) {
    ScratchDir dir;
    for (const std::u16string name : {u"aux.txt", u"COM1", u"con", u"Nul.bin"}) {
        const std::u16string file = dir.path(name);
        HANDLE made = CreateFileW(wide(verbatim(file)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(made, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(made, "device?", 7, &written, nullptr));
        CloseHandle(made);

        EXPECT_EQ(file_size(file), 7);
        EXPECT_EQ(file_facts(file).size, 7);
        EXPECT_GT(file_date(file, FILE_DATE_MODIFIED), 86400 * 365) << "not the 1970 of a device";
        const std::intptr_t opened = open_file_for_reading(PB_Any, file);
        ASSERT_NE(opened, 0);
        char bytes[8] = {};
        EXPECT_EQ(read_data(opened, bytes, 8), 7);
        EXPECT_EQ(std::string(bytes), "device?");
        close_file(opened);
        DeleteFileW(wide(verbatim(file)));
    }
}

}  // namespace
