// Folder walks over what POSIX file systems add: links back to an ancestor,
// and trees deeper than a small stack could recurse through.
#include "app/folder_scan.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "app/busy_flag.h"
#include "app/data_section.h"
#include "app/dropped_files.h"
#include "app/file_map.h"
#include "support/scratch_dir.h"
#include "system/utf.h"

namespace {

TEST(FolderScanPosix, ALinkToAnAncestorIsNotEnteredAgain) {
    ScratchDir dir;
    dir.write(u"root/top.txt", "t");
    dir.write(u"root/sub/inner.txt", "i");
    std::filesystem::create_directory_symlink(std::filesystem::path(dir.path(u"root")),
                                              std::filesystem::path(dir.path(u"root/sub/back")));
    // A second way into a folder already walked: not entered twice either.
    std::filesystem::create_directory_symlink(std::filesystem::path(dir.path(u"root/sub")),
                                              std::filesystem::path(dir.path(u"root/again")));
    FolderScanMap map;
    const FolderScanResult result = scan_folder(dir.path(u"root"), map);
    EXPECT_EQ(result.files, 2u);
    EXPECT_TRUE(result.unlisted.empty());
    EXPECT_NE(map.find(u"top.txt"), nullptr);
    // Keys separate folders with "\" here too, so both platforms walk alike.
    ASSERT_TRUE(map.find(u"sub\\inner.txt") || map.find(u"again\\inner.txt"));
}

TEST(FolderScanPosix, ALinkedFileIsCollectedLikeAnyOther) {
    ScratchDir dir;
    const auto target = dir.write(u"elsewhere/real.bin", "r");
    dir.make_folder(u"root");
    std::filesystem::create_symlink(std::filesystem::path(target), std::filesystem::path(dir.path(u"root/link.bin")));
    FileMap map;
    collect_dropped_paths(map, {dir.path(u"root")}, nullptr);
    ASSERT_NE(map.find(u"link.bin"), nullptr);
    EXPECT_EQ(map.find(u"link.bin")->size, 1);
}

// A POSIX name may hold a backslash: it names a file of its own, even where
// it spells another file's place in the tree.
TEST(FolderScanPosix, ANameWithABackslashIsANameOfItsOwn) {
    ScratchDir dir;
    const std::u16string nested = dir.write(u"root/a/b.bin", "folder");
    std::ofstream(utf8_from_utf16(dir.path(u"root")) + "/a\\b.bin") << "name";  // one name, not a path
    file_map().clear();
    const DropResult result = collect_dropped_paths(file_map(), {dir.path(u"root")}, nullptr);
    EXPECT_TRUE(result.displaced.empty());
    ASSERT_NE(file_map().find(u"b.bin"), nullptr);
    EXPECT_EQ(file_map().find(u"b.bin")->path, nested);
    ASSERT_NE(file_map().find(u"a\\b.bin"), nullptr);
    EXPECT_EQ(file_map().find(u"a\\b.bin")->size, 4);

    ASSERT_TRUE(busy_flag_try_set());
    const DataSection section = generate_data_section(1);
    EXPECT_NE(section.text.view().find(u"#size_a_b_bin = 4"), std::u16string_view::npos);
    EXPECT_NE(section.text.view().find(u"#size_b_bin = 6"), std::u16string_view::npos);
    file_map().clear();
}

// A POSIX name may hold double quotes: each such file is an entry of its
// own, with a label of its own, never cut short at the quote.
TEST(FolderScanPosix, NamesHoldingQuotesAreEntriesOfTheirOwn) {
    ScratchDir dir;
    dir.make_folder(u"root");
    for (const char* name : {"x\"1.txt", "x\"2.bin", "x", "\"", "\"\""})
        std::ofstream(utf8_from_utf16(dir.path(u"root")) + "/" + name) << name;
    file_map().clear();
    const DropResult result = collect_dropped_paths(file_map(), {dir.path(u"root")}, nullptr);
    EXPECT_TRUE(result.displaced.empty());
    for (const char16_t* key : {u"x\"1.txt", u"x\"2.bin", u"x", u"\"", u"\"\""})
        EXPECT_NE(file_map().find(key), nullptr) << utf8_from_utf16(key);

    ASSERT_TRUE(busy_flag_try_set());
    const DataSection section = generate_data_section(1);
    const std::u16string_view text = section.text.view();
    std::set<std::u16string_view> labels;
    for (std::size_t at = 0; (at = text.find(u"#size_", at)) != std::u16string_view::npos; ++at)
        labels.insert(text.substr(at, text.find(u' ', at) - at));
    EXPECT_EQ(labels.size(), 5u);
    EXPECT_EQ(labels.count(u"#size_"), 0u) << "an empty label";
    file_map().clear();
}

struct DeepScan {
    std::u16string folder;
    FolderScanResult result;
    FolderScanMap map;
};

void* run_deep_scan(void* argument) {
    auto* scan = static_cast<DeepScan*>(argument);
    scan->result = scan_folder(scan->folder, scan->map);
    return nullptr;
}

TEST(FolderScanPosix, ADeepTreeFitsASmallStack) {
    // 1000 levels on a 128 KiB stack: a walk that recursed once per level
    // (with the sanitizers' larger frames) would overflow it.
    ScratchDir dir;
    // One level at a time: the library's create_directories gives up on
    // paths this long.
    std::filesystem::path level = std::filesystem::path(dir.folder()) / "deep";
    std::filesystem::create_directory(level);
    for (int i = 0; i < 1000; ++i) {
        level /= "d";
        ASSERT_TRUE(std::filesystem::create_directory(level));
    }
    std::ofstream(level / "bottom.bin") << "b";

    DeepScan scan;
    scan.folder = dir.path(u"deep");
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 128 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, run_deep_scan, &scan), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);

    EXPECT_EQ(scan.result.files, 1u);
    std::u16string key;
    for (int i = 0; i < 1000; ++i)
        key += u"d\\";
    EXPECT_NE(scan.map.find(key + u"bottom.bin"), nullptr);
}

}  // namespace
