// The walk's guard against link cycles, with folder identities given by the
// test: plain folders stand in for links and junctions, so the guard is
// tested on every platform, including where links cannot be made.
#include "app/folder_scan.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/scratch_dir.h"

namespace {

// Identities by folder (as the walk names them, ending with the separator);
// folders not listed have none.
class FakeIdentities {
public:
    explicit FakeIdentities(const ScratchDir& dir) : dir_(dir) {}

    void set(std::u16string_view folder, std::uint64_t index, std::uint64_t volume = 7) {
        known_[dir_.path(folder) + ScratchDir::kSeparator] = FolderIdentity{volume, index};
    }

    // Without the volume the reader leaves it 0, as the platform may.
    FolderIdentityReader reader() {
        return [this](std::u16string_view path, bool with_volume) -> std::optional<FolderIdentity> {
            ++(with_volume ? volumes_asked_ : numbers_asked_);
            const auto found = known_.find(std::u16string(path));
            if (found == known_.end())
                return std::nullopt;
            FolderIdentity identity = found->second;
            if (!with_volume)
                identity.volume = 0;
            return identity;
        };
    }

    int numbers_asked() const { return numbers_asked_; }
    int volumes_asked() const { return volumes_asked_; }

private:
    const ScratchDir& dir_;
    std::map<std::u16string, FolderIdentity> known_;
    int numbers_asked_ = 0;
    int volumes_asked_ = 0;
};

TEST(FolderScan, AFolderThatIsAnAncestorAgainIsNotEntered) {
    ScratchDir dir;
    dir.write(u"root/top.txt", "t");
    dir.write(u"root/sub/inner.txt", "i");
    dir.write(u"root/sub/back/ghost.txt", "g");  // "back" leads to root again
    FakeIdentities ids(dir);
    ids.set(u"root", 1);
    ids.set(u"root/sub", 2);
    ids.set(u"root/sub/back", 1);

    FolderScanMap map;
    const FolderScanResult result = scan_folder(dir.path(u"root"), map, ids.reader());
    EXPECT_EQ(result.files, 2u);
    EXPECT_TRUE(result.unlisted.empty());
    EXPECT_NE(map.find(u"top.txt"), nullptr);
    EXPECT_NE(map.find(u"sub\\inner.txt"), nullptr);
    EXPECT_EQ(map.find(u"sub\\back\\ghost.txt"), nullptr);
    // Only the two folders with one number had to tell their volume.
    EXPECT_EQ(ids.numbers_asked(), 3);
    EXPECT_EQ(ids.volumes_asked(), 2);
}

// The same number on two volumes (the roots of two mounted file systems, say)
// names two folders: both are walked, each volume asked once.
TEST(FolderScan, OneNumberOnTwoVolumesIsTwoFolders) {
    ScratchDir dir;
    dir.write(u"root/a/x.txt", "x");
    dir.write(u"root/b/y.txt", "y");
    dir.write(u"root/c/z.txt", "z");
    FakeIdentities ids(dir);
    ids.set(u"root", 1);
    ids.set(u"root/a", 2, 7);
    ids.set(u"root/b", 2, 8);
    ids.set(u"root/c", 2, 9);

    FolderScanMap map;
    EXPECT_EQ(scan_folder(dir.path(u"root"), map, ids.reader()).files, 3u);
    EXPECT_EQ(ids.volumes_asked(), 3);
}

TEST(FolderScan, TwoWaysIntoOneFolderWalkItOnce) {
    ScratchDir dir;
    dir.write(u"root/a/x.txt", "x");
    dir.write(u"root/b/x.txt", "x");
    FakeIdentities ids(dir);
    ids.set(u"root", 1);
    ids.set(u"root/a", 2);
    ids.set(u"root/b", 2);

    FolderScanMap map;
    EXPECT_EQ(scan_folder(dir.path(u"root"), map, ids.reader()).files, 1u);
    // Which way wins follows the platform's listing order.
    EXPECT_NE((map.find(u"a\\x.txt") != nullptr), (map.find(u"b\\x.txt") != nullptr));
}

TEST(FolderScan, FoldersWithoutAnIdentityAreStillWalked) {
    ScratchDir dir;
    dir.write(u"root/top.txt", "t");
    dir.write(u"root/sub/inner.txt", "i");
    dir.write(u"root/sub/deeper/bottom.txt", "b");
    FakeIdentities ids(dir);  // knows no folder

    FolderScanMap map;
    EXPECT_EQ(scan_folder(dir.path(u"root"), map, ids.reader()).files, 3u);
    EXPECT_NE(map.find(u"sub\\deeper\\bottom.txt"), nullptr);
}

}  // namespace
