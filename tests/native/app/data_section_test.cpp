// The generator end to end on real files: exact text, order, cache reuse and
// invalidation, progress, and running out of memory.
#include "app/data_section.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/busy_flag.h"
#include "app/progress.h"
#include "support/scratch_dir.h"
#include "system/file.h"
#include "system/out_of_memory.h"

namespace {

// Puts a path into the map as a drop would.
FileEntry& add(FileMap& map, const std::u16string& path) {
    FileEntry& entry = map.insert(file_map_key(path));
    entry.path = path;
    return entry;
}

std::u16string build(FileMap& map, ProgressSink* progress = nullptr) {
    DataSection section = build_data_section(map, progress);
    EXPECT_EQ(section.status, GenerationStatus::Ok);
    return section.text.text();
}

struct RecordingProgress : ProgressSink {
    std::vector<std::pair<char, std::int32_t>> calls;
    void set_progress_maximum(std::int32_t maximum) noexcept override { calls.emplace_back('M', maximum); }
    void set_progress_value(std::int32_t value) noexcept override { calls.emplace_back('V', value); }
};

const std::u16string kHelloText =
    u"DataSection\r\n"
    u"\r\n"
    u"\t#size_Hello_World_txt = 11 ; 2021/03/04 05:06:07\r\n"
    u"\tfile_Hello_World_txt:\r\n"
    u"\tData.q $6F77206F6C6C6568,$646C72\r\n"
    u"\r\n"
    u"EndDataSection\r\n";

TEST(GenerateDataSection, GivesTheSevenLinesOfTheHelloWorldExample) {
    ScratchDir dir;
    const std::u16string path = dir.write(u"Hello World.txt", "hello world");
    ASSERT_TRUE(ScratchDir::set_modified(path, 2021, 3, 4, 5, 6, 7));
    file_map().clear();
    add(file_map(), path);
    ASSERT_TRUE(busy_flag_try_set());
    EXPECT_FALSE(busy_flag_try_set());  // a second Copy is kept away

    DataSection section = generate_data_section(0);
    EXPECT_EQ(section.status, GenerationStatus::Ok);
    EXPECT_EQ(section.text.view(), kHelloText);
    EXPECT_FALSE(busy_flag_is_set());
    file_map().clear();
}

TEST(BuildDataSection, EmitsEntriesByKeyCodeUnitsWithLabelsInTheFilesOwnCase) {
    ScratchDir dir;
    FileMap map;
    for (const char16_t* name : {u"a.bin", u"B.txt", u"x/a-b.bin", u"y/a_b.bin", u"_x.bin", u"1.bin"})
        add(map, dir.write(name, "1"));
    const std::u16string text = build(map);
    std::vector<std::size_t> at;
    for (const char16_t* label :
         {u"size_1_bin ", u"size__x_bin ", u"size_a_b_bin ", u"size_a_bin ", u"size_a_b_bin_2 ", u"size_B_txt "}) {
        at.push_back(text.find(label, at.empty() ? 0 : at.back() + 1));
        ASSERT_NE(at.back(), std::u16string::npos) << std::string(label, label + 5);
    }
    EXPECT_EQ(text.find(u"\tfile_a_b_bin:\r\n\tData.q $31\r\n\r\n"), text.find(u"\tfile_a_b_bin:"));
}

// Names that give one label would make a text that does not assemble: the
// later files in key order get a suffix that no other name gives.
TEST(BuildDataSection, NamesGivingOneLabelGetDistinctOnes) {
    ScratchDir dir;
    FileMap map;
    for (const char16_t* name : {u"x/a-b.bin", u"y/a_b.bin", u"z/A.b.bin", u"a_b.bin_2", u"\u00E9t\u00E9.txt",
                                 u"\u00F3t\u00F3.txt", u"q/_t__txt"})
        add(map, dir.write(name, "1"));
    const std::u16string text = build(map);
    std::vector<std::u16string> labels;
    for (std::size_t at = 0; (at = text.find(u"\tfile_", at)) != std::u16string::npos; ++at)
        labels.push_back(text.substr(at + 6, text.find(u':', at) - at - 6));
    // Key order: _t__txt, a-b.bin, a.b.bin, a_b.bin, a_b.bin_2, été.txt, ótó.txt.
    const std::vector<std::u16string> expected = {u"_t__txt",   u"a_b_bin",   u"A_b_bin_3", u"a_b_bin_4",
                                                  u"a_b_bin_2", u"_t__txt_2", u"_t__txt_3"};
    EXPECT_EQ(labels, expected);
    EXPECT_NE(text.find(u"\t#size_A_b_bin_3 = 1 ; "), std::u16string::npos);

    // The same labels when the rows come from the cache.
    EXPECT_EQ(build(map), text);
}

TEST(BuildDataSection, FollowsAFullRowByTwoEmptyLinesAndEmitsEmptyFiles) {
    ScratchDir dir;
    FileMap map;
    add(map, dir.write(u"full.bin", std::string(4096, '\0')));
    add(map, dir.write(u"empty.bin", ""));
    const std::u16string text = build(map);
    EXPECT_NE(text.find(u"\t#size_empty_bin = 0 ; "), std::u16string::npos);
    EXPECT_NE(text.find(u"\tfile_empty_bin:\r\n\tData.q $0\r\n\r\n\t#size_full_bin = 4096 ; "), std::u16string::npos);
    EXPECT_NE(text.find(u",$0\r\n\r\n\r\nEndDataSection\r\n"), std::u16string::npos);
}

TEST(BuildDataSection, ReusesCachedRowsUntilSizeOrDateChanges) {
    ScratchDir dir;
    FileMap map;
    const std::u16string path = dir.write(u"f.bin", "AAAA");
    const std::u16string other = dir.write(u"g.bin", "gg");
    ASSERT_TRUE(ScratchDir::set_modified(path, 2020, 1, 1, 0, 0, 0));
    add(map, path);
    add(map, other);
    EXPECT_NE(build(map).find(u"Data.q $41414141\r\n"), std::u16string::npos);

    // New bytes, same size and date: a generation that read the file would see them.
    dir.write(u"f.bin", "BBBB");
    ASSERT_TRUE(ScratchDir::set_modified(path, 2020, 1, 1, 0, 0, 0));
    EXPECT_NE(build(map).find(u"Data.q $41414141\r\n"), std::u16string::npos);

    ASSERT_TRUE(ScratchDir::set_modified(path, 2020, 1, 1, 0, 0, 1));
    EXPECT_NE(build(map).find(u"Data.q $42424242\r\n"), std::u16string::npos);

    dir.write(u"f.bin", "CCCCC");
    ASSERT_TRUE(ScratchDir::set_modified(path, 2020, 1, 1, 0, 0, 1));
    EXPECT_NE(build(map).find(u"#size_f_bin = 5 ; 2020/01/01 00:00:01\r\n\tfile_f_bin:\r\n\tData.q $4343434343\r\n"),
              std::u16string::npos);

    std::filesystem::remove(std::filesystem::path(path));
    const std::u16string text = build(map);
    EXPECT_EQ(text.find(u"f_bin"), std::u16string::npos);
    EXPECT_NE(text.find(u"g_bin"), std::u16string::npos);
    EXPECT_EQ(map.find(u"f.bin")->size, FILE_ENTRY_MISSING);
    EXPECT_TRUE(map.find(u"f.bin")->text.empty());

    std::filesystem::create_directory(std::filesystem::path(path));  // now a folder of that name
    EXPECT_EQ(build(map).find(u"f_bin"), std::u16string::npos);
    EXPECT_EQ(map.find(u"f.bin")->size, FILE_ENTRY_FOLDER);
}

TEST(BuildDataSection, WritesRowsOnceAndRepeatsAnUnchangedTextWithoutCopying) {
    ScratchDir dir;
    FileMap map;
    add(map, dir.write(u"a.bin", "first"));
    add(map, dir.write(u"b.bin", "second"));
    add(map, dir.write(u"c.bin", "third"));
    DataSection first = build_data_section(map, nullptr);
    const std::u16string_view text = first.text.view();
    // The cached rows are pieces of the text itself.
    const std::u16string_view rows = map.find(u"b.bin")->text.view();
    EXPECT_EQ(rows, u"$646E6F636573");
    EXPECT_TRUE(rows.data() >= text.data() && rows.data() < text.data() + text.size());

    DataSection again = build_data_section(map, nullptr);
    EXPECT_EQ(again.text.view().data(), text.data());

    map.erase(u"b.bin");  // the old text still holds it: a new one must be made
    DataSection fewer = build_data_section(map, nullptr);
    EXPECT_NE(fewer.text.view().data(), text.data());
    EXPECT_EQ(fewer.text.view().find(u"b_bin"), std::u16string::npos);
    EXPECT_EQ(map.find(u"c.bin")->text.view(), u"$6472696874");
    first = DataSection();
    again = DataSection();
    EXPECT_EQ(fewer.text.view(), build_data_section(map, nullptr).text.view());
}

TEST(BuildDataSection, MovesTheProgressFromZeroToTheTotalEveryTime) {
    ScratchDir dir;
    FileMap map;
    add(map, dir.write(u"ten.bin", std::string(10, 'x')));
    add(map, dir.write(u"twenty.bin", std::string(20, 'x')));
    add(map, dir.write(u"none.bin", ""));
    add(map, dir.path(u"gone.bin"));
    for (int run = 0; run < 2; ++run) {  // the second run reads nothing, the bar moves all the same
        RecordingProgress progress;
        build(map, &progress);
        ASSERT_EQ(progress.calls.size(), 4u);
        EXPECT_EQ(progress.calls[0], std::make_pair('M', 30));
        EXPECT_EQ(progress.calls[1], std::make_pair('V', 0));
        EXPECT_EQ(progress.calls[2].first, 'V');
        EXPECT_TRUE(progress.calls[2].second == 10 || progress.calls[2].second == 20);
        EXPECT_EQ(progress.calls[3], std::make_pair('V', 30));
    }
}

// One large file must not show a full bar while it is still being read.
TEST(BuildDataSection, TheBarMovesWhileALargeFileIsReadAndIsFullOnlyAtTheEnd) {
    ScratchDir dir;
    FileMap map;
    constexpr std::int32_t kSize = 300 * 1024;
    add(map, dir.write(u"large.bin", std::string(kSize, 'x')));
    RecordingProgress progress;
    build(map, &progress);
    ASSERT_GE(progress.calls.size(), 5u);
    EXPECT_EQ(progress.calls[0], std::make_pair('M', kSize));
    EXPECT_EQ(progress.calls[1], std::make_pair('V', 0));
    for (std::size_t i = 2; i < progress.calls.size(); ++i) {
        EXPECT_EQ(progress.calls[i].first, 'V');
        EXPECT_GT(progress.calls[i].second, progress.calls[i - 1].second);
    }
    EXPECT_EQ(progress.calls.back(), std::make_pair('V', kSize));
}

TEST(BuildDataSection, LeavesOutFilesTooLargeForTheSizeField) {
    ScratchDir dir;
    FileMap map;
    const std::u16string big = dir.write(u"big.bin", "x");
    std::error_code error;
    std::filesystem::resize_file(std::filesystem::path(big), (1ULL << 32) + 10, error);
    if (error)
        GTEST_SKIP() << "no sparse files here: " << error.message();
    add(map, big);
    add(map, dir.write(u"small.bin", "s"));
    RecordingProgress progress;
    const std::u16string text = build(map, &progress);
    EXPECT_EQ(text.find(u"big_bin"), std::u16string::npos);
    EXPECT_NE(text.find(u"small_bin = 1 "), std::u16string::npos);
    EXPECT_EQ(map.find(u"big.bin")->size, FILE_ENTRY_TOO_LARGE);
    EXPECT_EQ(progress.calls.front(), std::make_pair('M', 1));
    const DataSection section = build_data_section(map, nullptr);
    ASSERT_EQ(section.left_out.size(), 1u);
    EXPECT_EQ(section.left_out[0].path, big);
    EXPECT_EQ(section.left_out[0].reason, LeftOutReason::TooLarge);
}

TEST(GenerateDataSection, NamesWhatItLeavesOutAndCopiesNothingWhenNothingCouldBeRead) {
    ScratchDir dir;
    const std::u16string gone = dir.write(u"gone.bin", "gone");
    const std::u16string kept = dir.write(u"kept.bin", "kept");
    const std::u16string now_folder = dir.write(u"now_folder", "f");
    file_map().clear();
    for (const std::u16string& path : {gone, kept, now_folder})
        add(file_map(), path);
    ASSERT_TRUE(build_data_section(file_map(), nullptr).left_out.empty());
    std::filesystem::remove(std::filesystem::path(gone));
    std::filesystem::remove(std::filesystem::path(now_folder));
    std::filesystem::create_directory(std::filesystem::path(now_folder));

    ASSERT_TRUE(busy_flag_try_set());
    DataSection section = generate_data_section(0);
    EXPECT_EQ(section.status, GenerationStatus::Ok);
    EXPECT_EQ(section.entries, 1u);
    EXPECT_NE(section.text.view().find(u"kept_bin"), std::u16string_view::npos);
    ASSERT_EQ(section.left_out.size(), 2u);
    for (const LeftOut& left : section.left_out) {
        EXPECT_TRUE(left.path == gone || left.path == now_folder);
        EXPECT_EQ(left.reason, LeftOutReason::Gone);
        EXPECT_EQ(left_out_text(left), u"no longer there");
    }

    // Nothing left that can be read: no text is worth the clipboard.
    std::filesystem::remove(std::filesystem::path(kept));
    ASSERT_TRUE(busy_flag_try_set());
    section = generate_data_section(1);
    EXPECT_EQ(section.status, GenerationStatus::NothingCopied);
    EXPECT_EQ(section.left_out.size(), 3u);
    EXPECT_FALSE(busy_flag_is_set());

    // An empty map is still copied: the empty section.
    file_map().clear();
    ASSERT_TRUE(busy_flag_try_set());
    EXPECT_NE(generate_data_section(0).status, GenerationStatus::NothingCopied);
}

// Fails the n-th builder allocation from now (1 = the next one).
// Fails the g_fail_at-th allocation and every one after it.
int g_fail_at = 0;
void* failing_realloc(void* block, std::size_t bytes) {
    return --g_fail_at <= 0 ? nullptr : std::realloc(block, bytes);
}

TEST(GenerateDataSection, RunningOutOfMemoryIsReportedAndKeepsOtherCachedRows) {
    ScratchDir dir;
    file_map().clear();
    const std::u16string small = dir.write(u"small.bin", "small");
    const std::u16string large = dir.write(u"large.bin", std::string(100000, 'L'));
    add(file_map(), small);
    add(file_map(), large);
    const std::u16string complete = generate_data_section(0).text.text();
    const std::u16string small_rows = file_map().find(u"small.bin")->text.text();

    dir.write(u"large.bin", std::string(100008, 'M'));  // must be read again
    set_text_builder_realloc(failing_realloc);
    g_fail_at = 1;  // the text's room, then the large file's rows
    ASSERT_TRUE(busy_flag_try_set());
    DataSection failed = generate_data_section(1);
    EXPECT_EQ(failed.status, GenerationStatus::OutOfMemory);
    EXPECT_TRUE(failed.text.empty());
    EXPECT_FALSE(busy_flag_is_set());
    EXPECT_EQ(file_map().find(u"small.bin")->text.view(), small_rows);
    EXPECT_TRUE(file_map().find(u"large.bin")->text.empty());

    set_text_builder_realloc(nullptr);
    DataSection again = generate_data_section(0);
    EXPECT_EQ(again.status, GenerationStatus::Ok);
    EXPECT_NE(again.text.view().find(u"$4D4D4D4D4D4D4D4D"), std::u16string::npos);
    EXPECT_EQ(again.text.size(), complete.size() + 18);  // one more value
    file_map().clear();
}

// Cached rows must not outlive a rewrite that keeps the size and lands within
// the second the date shows.
TEST(BuildDataSection, ReadsAgainAFileRewrittenWithinTheSecondOfItsDate) {
    ScratchDir dir;
    FileMap map;
    const std::u16string path = dir.write(u"same.bin", "AAAAAAAA");
    ASSERT_TRUE(ScratchDir::set_modified(path, 2024, 5, 6, 7, 8, 9, 100));
    add(map, path);
    EXPECT_NE(build(map).find(u"$4141414141414141"), std::u16string::npos);

    dir.write(u"same.bin", "BBBBBBBB");
    ASSERT_TRUE(ScratchDir::set_modified(path, 2024, 5, 6, 7, 8, 9, 600));
    EXPECT_NE(build(map).find(u"$4242424242424242"), std::u16string::npos);
}

// A file's read buffer is the other big block a generation takes; without it
// the text lacks that file and every one after it, so it must not count.
TEST(GenerateDataSection, NoReadBufferForAFileIsReportedAsOutOfMemory) {
    ScratchDir dir;
    FileMap map;
    const std::u16string cached = dir.write(u"a.bin", "cached");
    add(map, cached);
    (void)build(map);
    const std::u16string rows = map.find(u"a.bin")->text.text();
    add(map, dir.write(u"b.bin", "bbbbbbbbb"));
    add(map, dir.write(u"c.bin", "ccc"));

    set_big_block_malloc([](std::size_t) -> void* { return nullptr; });
    DataSection failed = build_data_section(map, nullptr);
    set_big_block_malloc(nullptr);
    EXPECT_EQ(failed.status, GenerationStatus::OutOfMemory);
    EXPECT_TRUE(failed.text.empty());
    EXPECT_EQ(map.find(u"a.bin")->text.view(), rows);
    EXPECT_TRUE(map.find(u"b.bin")->text.empty());

    const std::u16string whole = build(map);
    EXPECT_NE(whole.find(u"file_b_bin:\r\n\tData.q $6262626262626262,$62\r\n"), std::u16string::npos);
    EXPECT_NE(whole.find(u"file_c_bin:\r\n\tData.q $636363\r\n"), std::u16string::npos);
}

// The file's small read buffer too: a file that would not open for want of
// memory fails the whole generation, never leaves a text without the file.
TEST(GenerateDataSection, NoFileBufferIsOutOfMemoryNotAFileLeftOut) {
    ScratchDir dir;
    FileMap map;
    add(map, dir.write(u"a.bin", "aaaa"));
    add(map, dir.write(u"b.bin", "bbbb"));
    set_big_block_malloc([](std::size_t bytes) -> void* { return bytes <= 4096 ? nullptr : std::malloc(bytes); });
    DataSection failed = build_data_section(map, nullptr);
    set_big_block_malloc(nullptr);
    EXPECT_EQ(failed.status, GenerationStatus::OutOfMemory);
    EXPECT_TRUE(failed.left_out.empty());
    EXPECT_TRUE(failed.text.empty());
    EXPECT_NE(build(map).find(u"file_b_bin:\r\n\tData.q $62626262\r\n"), std::u16string::npos);
}

}  // namespace
