// Folder walks over a junction that points back to an ancestor, as some
// user-profile folders have.
#include "system/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/folder_scan.h"
#include "support/scratch_dir.h"
#include "system/file.h"
#include "system/wide.h"

namespace {

// The mount-point form of the platform's reparse data (not in MinGW's user
// headers).
struct MountPointData {
    DWORD tag;
    WORD data_length;
    WORD reserved;
    WORD substitute_offset;
    WORD substitute_length;
    WORD print_offset;
    WORD print_length;
    wchar_t names[1024];
};

constexpr DWORD kSetReparsePoint = 0x000900A4;  // FSCTL_SET_REPARSE_POINT
constexpr DWORD kMountPointTag = 0xA0000003;    // IO_REPARSE_TAG_MOUNT_POINT

// Makes `link` a junction to `target`, or else a folder symbolic link; false
// when the platform offers neither.
bool make_folder_link(const std::u16string& link, const std::u16string& target) {
    if (CreateDirectoryW(wide(link), nullptr)) {
        HANDLE h = CreateFileW(wide(link), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            const std::u16string substitute = u"\\??\\" + target;
            MountPointData data{};
            data.tag = kMountPointTag;
            data.substitute_offset = 0;
            data.substitute_length = static_cast<WORD>(substitute.size() * 2);
            data.print_offset = static_cast<WORD>((substitute.size() + 1) * 2);
            data.print_length = static_cast<WORD>(target.size() * 2);
            std::memcpy(data.names, substitute.data(), substitute.size() * 2);
            std::memcpy(data.names + substitute.size() + 1, target.data(), target.size() * 2);
            data.data_length = static_cast<WORD>(8 + (substitute.size() + 1 + target.size() + 1) * 2);
            DWORD returned = 0;
            const BOOL ok =
                DeviceIoControl(h, kSetReparsePoint, &data, 8u + data.data_length, nullptr, 0, &returned, nullptr);
            CloseHandle(h);
            if (ok)
                return true;
        }
        RemoveDirectoryW(wide(link));
    }
    // SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    return CreateSymbolicLinkW(wide(link), wide(target), 0x1 | 0x2) != 0;
}

void expect_the_tree_once(const std::u16string& root) {
    FolderScanMap map;
    const FolderScanResult result = scan_folder(root, map);
    EXPECT_EQ(result.files, 2u);
    EXPECT_NE(map.find(u"top.txt"), nullptr);
    EXPECT_NE(map.find(u"sub\\inner.txt"), nullptr);
}

TEST(FolderScanWin32, AJunctionToAnAncestorIsNotEnteredAgain) {
    ScratchDir dir;
    dir.write(u"root/top.txt", "t");
    dir.write(u"root/sub/inner.txt", "i");
    const std::u16string link = dir.path(u"root/sub/back");
    if (!make_folder_link(link, dir.path(u"root")))
        GTEST_SKIP() << "no junction or folder link can be made here";
    struct Unlink {
        std::u16string link;
        // Removes the link only, before the scratch folder's removal could follow it.
        ~Unlink() { RemoveDirectoryW(wide(link)); }
    } unlink{link};
    if (file_size(link + u"\\top.txt") != 1)
        GTEST_SKIP() << "the folder link leads nowhere (Wine 8 refuses FSCTL_SET_REPARSE_POINT and its "
                        "CreateSymbolicLinkW reports success without making a link)";
    expect_the_tree_once(dir.path(u"root"));
}

// The same over a link the build made (Wine lists it as a reparse point and
// follows it), where Wine cannot make one.
TEST(FolderScanWin32, ALinkToAnAncestorIsNotEnteredAgain) {
    const std::u16string root = u"" BLOBSMITH_TEST_LINKS u"\\cycle";
    if (file_size(root + u"\\sub\\back\\top.txt") != 1)
        GTEST_SKIP() << "the build made no links";
    expect_the_tree_once(root);
}

TEST(FolderScanWin32, ForwardSlashesBecomeBackslashes) {
    ScratchDir dir;
    const auto file = dir.write(u"top/sub/f.txt", "f");
    std::u16string folder = dir.path(u"top");
    for (char16_t& c : folder) {
        if (c == u'\\')
            c = u'/';
    }
    FolderScanMap map;
    ASSERT_EQ(scan_folder(folder, map).files, 1u);
    ASSERT_NE(map.find(u"sub\\f.txt"), nullptr);
    EXPECT_EQ(map.find(u"sub\\f.txt")->path, file);
}

}  // namespace
