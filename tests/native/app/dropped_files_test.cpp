// The dropped-file collection on real temporary folders, with the window's
// list played by a recording stand-in.
#include "app/dropped_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/file_list_view.h"
#include "app/folder_scan.h"
#include "support/scratch_dir.h"
#include "system/file.h"

namespace {

class RecordingList : public FileListView {
public:
    std::vector<std::u16string> items;
    std::set<std::int32_t> selected;
    int clears = 0;
    int suspended = 0;  // suspend minus resume
    bool added_while_drawing = false;

    void clear_items() override {
        items.clear();
        selected.clear();
        ++clears;
    }
    void add_item(std::u16string_view text) override {
        if (suspended == 0)
            added_while_drawing = true;
        items.emplace_back(text);
    }
    std::int32_t count_items() const override { return static_cast<std::int32_t>(items.size()); }
    std::int32_t item_state(std::int32_t position) const override {
        if (position < 0 || position >= count_items())
            return -1;
        return selected.count(position) ? 1 : 0;
    }
    std::u16string item_text(std::int32_t position) const override {
        return position >= 0 && position < count_items() ? items[static_cast<std::size_t>(position)] : u"";
    }
    std::int32_t current_item() const override { return selected.empty() ? -1 : *selected.begin(); }
    void select_only(std::int32_t position) override { selected = {position}; }
    std::int32_t top = 0;
    std::int32_t top_item() const override { return top; }
    void show_from(std::int32_t position) override { top = position; }
    void suspend_drawing() override { ++suspended; }
    void resume_drawing() override { --suspended; }
};

// Rows as a generation would have cached them.
TextSlice cached_rows(std::u16string_view rows) {
    auto block = std::make_shared<TextBuilder>();
    block->append(rows);
    return TextSlice(std::move(block), 0, rows.size());
}

std::u16string joined(const std::vector<std::u16string>& paths) {
    std::u16string text;
    for (const auto& path : paths)
        text += (text.empty() ? u"" : u"\n") + path;
    return text;
}

TEST(SplitText, GivesOnePieceMoreThanSeparators) {
    using Pieces = std::vector<std::u16string>;
    EXPECT_EQ(split_text(u"", u"\n"), Pieces{u""});
    EXPECT_EQ(split_text(u"a\nb", u"\n"), (Pieces{u"a", u"b"}));
    EXPECT_EQ(split_text(u"a\n", u"\n"), (Pieces{u"a", u""}));
    EXPECT_EQ(split_text(u"\n\n", u"\n"), (Pieces{u"", u"", u""}));
    EXPECT_EQ(split_text(u"a--b---c", u"--"), (Pieces{u"a", u"b", u"-c"}));
    EXPECT_EQ(split_text(u"abc", u""), Pieces{u"abc"});
}

TEST(CollectDroppedFiles, SameNamedFilesOfOneDropKeepTheLastOne) {
    ScratchDir dir;
    const auto first = dir.write(u"x/Readme.txt", "one");
    const auto second = dir.write(u"y/README.TXT", "second");
    FileMap map;
    RecordingList list;
    const DropResult result = collect_dropped_files(map, first + u"\n" + second, &list);
    EXPECT_EQ(result.files, 2u);
    EXPECT_TRUE(result.skipped.empty());
    ASSERT_EQ(map.size(), 1u);
    const FileEntry* entry = map.find(u"readme.txt");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->path, second);
    EXPECT_EQ(entry->size, 6);
    EXPECT_EQ(list.items, std::vector<std::u16string>{second});
    EXPECT_EQ(result.displaced, std::vector<std::u16string>{first});

    // The same file dropped again displaces nothing.
    EXPECT_TRUE(collect_dropped_files(map, second, &list).displaced.empty());
}

TEST(CollectDroppedFiles, SameNamedFilesAcrossDropsAndFoldersShareOneEntry) {
    ScratchDir dir;
    const auto loose = dir.write(u"loose/data.bin", "loose");
    const auto nested = dir.write(u"tree/deep/DATA.bin", "nested");
    FileMap map;
    collect_dropped_paths(map, {loose}, nullptr);
    collect_dropped_paths(map, {dir.path(u"tree")}, nullptr);
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.find(u"data.bin")->path, nested);
    collect_dropped_paths(map, {loose}, nullptr);
    EXPECT_EQ(map.find(u"data.bin")->path, loose);
}

TEST(CollectDroppedFiles, TheFileWalkedLastInAFolderWins) {
    // a\a.txt hashes to bucket 424, b\a.txt to 41: a walk meets b\a.txt first,
    // whatever order the folder listing gave.
    ASSERT_EQ(FolderScanMap::bucket_of(u"a\\a.txt"), 424u);
    ASSERT_EQ(FolderScanMap::bucket_of(u"b\\a.txt"), 41u);
    ScratchDir dir;
    const auto winner = dir.write(u"pics/a/a.txt", "in a");
    dir.write(u"pics/b/a.txt", "in b");
    FileMap map;
    RecordingList list;
    collect_dropped_files(map, dir.path(u"pics"), &list);
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.find(u"a.txt")->path, winner);
    EXPECT_EQ(list.items, std::vector<std::u16string>{winner});
}

TEST(CollectDroppedFiles, KeepsCachedRowsOnlyForAnUnchangedFile) {
    ScratchDir dir;
    const auto file = dir.write(u"f.bin", "12345678");
    ASSERT_TRUE(ScratchDir::set_modified(file, 2021, 3, 4, 5, 6, 7));
    FileMap map;
    collect_dropped_files(map, file, nullptr);
    FileEntry* entry = map.find(u"f.bin");
    ASSERT_NE(entry, nullptr);
    entry->text = cached_rows(u"$3837363534333231");

    collect_dropped_files(map, file, nullptr);
    EXPECT_EQ(entry->text.view(), u"$3837363534333231") << "an unchanged re-drop keeps the rows";

    ASSERT_TRUE(ScratchDir::set_modified(file, 2022, 3, 4, 5, 6, 7));
    collect_dropped_files(map, file, nullptr);
    EXPECT_TRUE(entry->text.empty()) << "a new date clears the rows";
    EXPECT_EQ(entry->date, file_date(file, FILE_DATE_MODIFIED));

    entry->text = cached_rows(u"$1");
    dir.write(u"f.bin", "123456789");
    ASSERT_TRUE(ScratchDir::set_modified(file, 2022, 3, 4, 5, 6, 7));
    collect_dropped_files(map, file, nullptr);
    EXPECT_TRUE(entry->text.empty()) << "a new size clears the rows";
    EXPECT_EQ(entry->size, 9);

    entry->text = cached_rows(u"$1");
    const auto other = dir.write(u"sub/F.BIN", "123456789");
    ASSERT_TRUE(ScratchDir::set_modified(other, 2022, 3, 4, 5, 6, 7));
    collect_dropped_files(map, other, nullptr);
    EXPECT_TRUE(entry->text.empty()) << "another path clears the rows";
    EXPECT_EQ(entry->path, other);
}

TEST(CollectDroppedFiles, ListsPathsByCodeUnitWithDrawingSuspended) {
    ScratchDir dir;
    const auto lower = dir.write(u"a.txt", "a");
    const auto upper = dir.write(u"B.txt", "b");
    const auto prefix = dir.write(u"a", "c");
    FileMap map;
    RecordingList list;
    list.items = {u"stale"};
    collect_dropped_files(map, joined({lower, upper, prefix}), &list);
    EXPECT_EQ(list.items, (std::vector<std::u16string>{upper, prefix, lower}));
    EXPECT_EQ(list.suspended, 0);
    EXPECT_FALSE(list.added_while_drawing);
}

std::vector<std::u16string> sorted_paths(FileMap& map) {
    std::vector<std::u16string> paths;
    for (const std::u16string* path : sorted_entry_paths(map))
        paths.push_back(*path);
    return paths;
}

// The sort skips what every path shares, here the whole of one path.
TEST(CollectDroppedFiles, SortsPathsThatShareTheirBeginning) {
    FileMap map;
    for (const char16_t* path : {u"x\\ac", u"x\\a", u"x\\aB"})
        add_file_entry(map, path, 1);
    EXPECT_EQ(sorted_paths(map), (std::vector<std::u16string>{u"x\\a", u"x\\aB", u"x\\ac"}));
    map.clear();
    add_file_entry(map, u"only", 1);
    EXPECT_EQ(sorted_paths(map), std::vector<std::u16string>{u"only"});
}

TEST(CollectDroppedFiles, AnEmptyTreeAddsNothingButRebuildsTheList) {
    ScratchDir dir;
    dir.make_folder(u"empty/one/two");
    dir.make_folder(u"empty/three");
    FileMap map;
    RecordingList list;
    list.items = {u"stale"};
    const DropResult result = collect_dropped_files(map, dir.path(u"empty"), &list);
    EXPECT_EQ(result.files, 0u);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(list.clears, 1);
    EXPECT_TRUE(list.items.empty());
}

TEST(CollectDroppedFiles, ReportsWhatCannotBeUsedAndTakesTheRest) {
    ScratchDir dir;
    const auto file = dir.write(u"kept.txt", "k");
    const auto missing = dir.path(u"missing.txt");
    FileMap map;
    const DropResult result = collect_dropped_files(map, u"\n" + missing + u"\n" + file + u"\n", nullptr);
    EXPECT_EQ(result.files, 1u);
    ASSERT_EQ(result.skipped.size(), 3u);
    EXPECT_EQ(result.skipped[0].path, u"");
    EXPECT_EQ(result.skipped[1].path, missing);
    EXPECT_EQ(result.skipped[1].reason, SkipReason::NotFound);
    EXPECT_EQ(result.skipped[2].path, u"");
    EXPECT_EQ(map.size(), 1u);
}

TEST(CollectDroppedFiles, SkipsFilesTooLargeForTheSizeField) {
    // 4 GiB + 10 bytes, sparse: its low 32 bits alone would claim 10 bytes.
    ScratchDir dir;
    const auto huge = dir.write(u"big/huge.bin", "");
    std::filesystem::resize_file(std::filesystem::path(huge), (std::uintmax_t{4} << 30) + 10);
    const auto small = dir.write(u"small.bin", "s");
    FileMap map;
    const DropResult result = collect_dropped_paths(map, {huge, dir.path(u"big"), small}, nullptr);
    ASSERT_EQ(result.skipped.size(), 2u);
    EXPECT_EQ(result.skipped[0].path, huge);
    EXPECT_EQ(result.skipped[0].reason, SkipReason::TooLarge);
    EXPECT_EQ(result.skipped[1].reason, SkipReason::TooLarge);
    EXPECT_EQ(map.size(), 1u);
    EXPECT_EQ(map.find(u"huge.bin"), nullptr);
}

TEST(CollectDroppedFiles, AFilePathWithTrailingSeparatorsKeepsItsName) {
    ScratchDir dir;
    const auto file = dir.write(u"name.txt", "n");
    FileMap map;
    collect_dropped_files(map, file + u"/", nullptr);
    ASSERT_NE(map.find(u"name.txt"), nullptr);
    EXPECT_EQ(map.find(u"name.txt")->path, file);
}

TEST(FolderScan, KeysAreRelativePathsAndNothingCarriesOverBetweenScans) {
    ScratchDir dir;
    dir.write(u"top/f.txt", "1");
    const auto inner = dir.write(u"top/sub/deeper/g.txt", "2");
    dir.write(u"top/.hidden", "3");
    FolderScanMap map;
    map.insert(u"left\\over").path = u"stale";

    const FolderScanResult failed = scan_folder(dir.path(u"absent"), map);
    EXPECT_EQ(failed.files, 0u);
    EXPECT_TRUE(map.empty());
    ASSERT_EQ(failed.unlisted.size(), 1u);
    EXPECT_NE(failed.unlisted[0].error, 0u);  // the system said why

    // A trailing separator changes nothing; the keys start after the folder.
    const FolderScanResult found = scan_folder(dir.path(u"top") + ScratchDir::kSeparator, map);
    EXPECT_EQ(found.files, 3u);
    EXPECT_TRUE(found.unlisted.empty());
    ASSERT_NE(map.find(u"sub\\deeper\\g.txt"), nullptr);
    EXPECT_EQ(map.find(u"sub\\deeper\\g.txt")->path, inner);
    EXPECT_NE(map.find(u"f.txt"), nullptr);
    EXPECT_NE(map.find(u".hidden"), nullptr);
}

TEST(FolderScan, WalksADeepTree) {
    // Deep enough to matter, short enough for the 260-unit paths of Windows.
    ScratchDir dir;
    std::u16string relative = u"deep";
    for (int i = 0; i < 70; ++i)
        relative += u"/d";
    const auto bottom = dir.write(relative + u"/bottom.bin", "b");
    FileMap map;
    const DropResult result = collect_dropped_paths(map, {dir.path(u"deep")}, nullptr);
    EXPECT_EQ(result.files, 1u);
    ASSERT_NE(map.find(u"bottom.bin"), nullptr);
    EXPECT_EQ(map.find(u"bottom.bin")->path, bottom);
}

class RemoveEntries : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt", u"d.txt"})
            paths.push_back(dir.write(name, "x"));
        collect_dropped_paths(map, paths, &list);
        ASSERT_EQ(list.items, paths);
    }
    ScratchDir dir;
    std::vector<std::u16string> paths;
    FileMap map;
    RecordingList list;
};

TEST_F(RemoveEntries, RemovesEverySelectedItemInOnePass) {
    list.selected = {0, 2, 3};
    remove_selected_entries(map, list);
    EXPECT_EQ(list.items, std::vector<std::u16string>{paths[1]});
    EXPECT_EQ(map.size(), 1u);
    EXPECT_NE(map.find(u"b.txt"), nullptr);
    EXPECT_EQ(list.selected, std::set<std::int32_t>{0});  // what now stands first
}

// The list keeps its place: the row after the removed ones is selected (the
// last row when they were the last), and the first row shown stays.
TEST_F(RemoveEntries, KeepsTheUsersPlace) {
    list.top = 2;
    list.selected = {1, 2};
    remove_selected_entries(map, list);
    EXPECT_EQ(list.items, (std::vector<std::u16string>{paths[0], paths[3]}));
    EXPECT_EQ(list.selected, std::set<std::int32_t>{1});
    EXPECT_EQ(list.top, 1);  // no further down than the last row
    // Rows that come before it move the row shown first, not the view.
    collect_dropped_paths(map, {dir.write(u"0.txt", "0")}, &list);
    EXPECT_EQ(list.items[static_cast<std::size_t>(list.top)], paths[3]);
    list.selected = {0, 1};
    remove_selected_entries(map, list);
    EXPECT_EQ(list.items[static_cast<std::size_t>(list.top)], paths[3]);
    list.selected = {1};
    remove_selected_entries(map, list);
    EXPECT_EQ(list.selected, std::set<std::int32_t>{0});
    list.selected = {0};
    remove_selected_entries(map, list);
    EXPECT_TRUE(list.items.empty());
    EXPECT_TRUE(list.selected.empty());
}

TEST_F(RemoveEntries, DoesNothingWithoutACurrentItem) {
    const int clears = list.clears;
    remove_selected_entries(map, list);
    EXPECT_EQ(list.clears, clears);
    EXPECT_EQ(map.size(), 4u);
}

TEST_F(RemoveEntries, RemoveAllEmptiesMapAndListEvenWhenEmpty) {
    remove_all_entries(map, list);
    EXPECT_TRUE(map.empty());
    EXPECT_TRUE(list.items.empty());
    remove_all_entries(map, list);
    EXPECT_TRUE(map.empty());
    EXPECT_TRUE(list.items.empty());
}

}  // namespace
