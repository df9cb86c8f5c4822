// The walk's guard against link cycles, with folder identities given by the
// test: plain folders stand in for links and junctions, so the guard is
// tested on every platform, including where links cannot be made.
#include "app/folder_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "system/directory.h"

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

// The order in which files reach the map decides the chain order within a
// bucket, and so which same-named file wins: that of a depth-first walk in
// listing order (files ahead of a subfolder, the subfolder's tree, then the
// rest), with more files than buckets.
TEST(FolderScan, TheMapHoldsTheFilesInDepthFirstListingOrder) {
    ScratchDir dir;
    for (int i = 0; i < 1500; ++i) {
        const std::string n = std::to_string(i);
        const std::string folder = i % 3 == 0 ? "" : (i % 3 == 1 ? "m/" : "m/deep/");
        const std::string name = "root/" + folder + "f" + n + (i % 2 ? ".txt" : ".bin");
        dir.write(std::u16string(name.begin(), name.end()), "");
    }
    dir.write(u"root/zz/last.txt", "");
    dir.write(u"root/m/deep/deeper/bottom.txt", "");

    // The reference: every file in the order a depth-first walk meets it.
    ChainedMap<int> expected;
    const std::u16string root = dir.path(u"root") + ScratchDir::kSeparator;
    const std::size_t base = root.size();
    std::function<void(const std::u16string&)> walk = [&](const std::u16string& folder) {
        std::vector<std::pair<std::u16string, bool>> entries;
        ASSERT_TRUE(list_directory(folder, u"*.*", [&](const DirectoryEntry& entry) {
            if (entry.name != u"." && entry.name != u"..")
                entries.emplace_back(std::u16string(entry.name), entry.type == DIRECTORY_ENTRY_FOLDER);
        }));
        for (const auto& [name, is_folder] : entries) {
            if (is_folder) {
                walk(folder + name + ScratchDir::kSeparator);
            } else {
                std::u16string key = (folder + name).substr(base);
                std::replace(key.begin(), key.end(), u'/', u'\\');
                expected.insert(key);
            }
        }
    };
    walk(root);

    FolderScanMap map;
    const FolderScanResult result = scan_folder(dir.path(u"root"), map);
    EXPECT_EQ(result.files, 1502u);
    std::vector<std::u16string> want, got;
    expected.walk([&](const std::u16string& key, int&) { want.push_back(key); });
    map.walk([&](const std::u16string& key, ScannedFile& file) {
        got.push_back(key);
        std::u16string relative = key;
        std::replace(relative.begin(), relative.end(), u'\\', ScratchDir::kSeparator);
        EXPECT_EQ(file.path, root + relative);
    });
    EXPECT_EQ(got, want);
}

}  // namespace
