// The streamed text against the whole text of a generation: the same bytes in
// both encodings, progress per block, and what stops a stream.
#include "app/section_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/data_section.h"
#include "app/dropped_files.h"
#include "app/progress.h"
#include "app/section_parts.h"
#include "support/cli_fixture.h"
#include "support/scratch_dir.h"
#include "support/test_bytes.h"
#include "system/utf.h"

namespace {

struct Collect : ByteSink {
    std::string bytes;
    std::size_t writes = 0;
    std::size_t fail_after = SIZE_MAX;  // writes accepted before refusing
    bool write(const void* data, std::size_t count) noexcept override {
        if (writes++ >= fail_after)
            return false;
        bytes.append(static_cast<const char*>(data), count);
        return true;
    }
};

std::string utf16le(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

FileEntry& add(FileMap& map, const std::u16string& path) {
    FileEntry& entry = map.insert(file_map_key(path));
    entry.path = path;
    return entry;
}

StreamResult stream(FileMap& map, TextEncoding encoding, Collect& out, ProgressSink* progress = nullptr) {
    return stream_data_section(map, encoding, out, progress);
}

// The text a Copy makes of `map`, and the streamed bytes in both encodings,
// from fresh maps each time (a stream must not lean on cached rows).
void expect_stream_equals_copy(const std::vector<std::u16string>& paths) {
    FileMap copy;
    for (const auto& path : paths)
        add(copy, path);
    const DataSection section = build_data_section(copy, nullptr);
    ASSERT_EQ(section.status, GenerationStatus::Ok);
    for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16Le}) {
        FileMap map;
        for (const auto& path : paths)
            add(map, path);
        Collect out;
        const StreamResult result = stream(map, encoding, out);
        EXPECT_EQ(result.status, StreamStatus::Ok);
        const std::string expected =
            encoding == TextEncoding::Utf8 ? utf8_from_utf16(section.text.view()) : utf16le(section.text.view());
        ASSERT_EQ(out.bytes.size(), expected.size()) << (encoding == TextEncoding::Utf8 ? "UTF-8" : "UTF-16");
        EXPECT_TRUE(out.bytes == expected) << (encoding == TextEncoding::Utf8 ? "UTF-8" : "UTF-16");
    }
}

// The entries' order is code-unit order, compared in chunks: every place of a
// first difference, high units, and one key the prefix of another.
TEST(SectionKeyOrder, IsTheOrderOfTheKeysAsStrings) {
    std::vector<std::u16string> keys;
    std::uint32_t random = 7;
    auto next = [&random] { return random = random * 1103515245u + 12345u; };
    const char16_t units[] = {u'a', u'b', u'.', u'0', char16_t(0x00E4), char16_t(0x8000), char16_t(0xFFFF)};
    for (int k = 0; k < 300; ++k) {
        std::u16string key = u"file";
        const std::size_t length = next() % 13;
        for (std::size_t i = 0; i < length; ++i)
            key += units[(next() >> 8) % (next() % 4 == 0 ? 7 : 2)];
        keys.push_back(key);
    }
    for (const auto& a : keys) {
        for (const auto& b : keys)
            ASSERT_EQ(section_parts::key_less(a, b), a < b) << utf8_from_utf16(a) << " / " << utf8_from_utf16(b);
    }
}

TEST(StreamDataSection, GivesTheBytesOfTheCopyForTheCommandLineTree) {
    CliFixture files;
    expect_stream_equals_copy(
        {files.dir.path(u"tree/Hello World.txt"), files.dir.path(u"tree/empty.dat"), files.dir.path(u"other/ABC.BIN")});
    FileMap map;
    for (const char16_t* name : {u"tree/Hello World.txt", u"tree/empty.dat", u"other/ABC.BIN"})
        add(map, files.dir.path(name));
    Collect out;
    EXPECT_EQ(stream(map, TextEncoding::Utf8, out).entries, 3u);
    EXPECT_EQ(out.bytes, CliFixture::expected_text());
}

TEST(StreamDataSection, GivesTheBytesOfTheCopyAcrossRowAndBlockEdges) {
    ScratchDir dir;
    std::vector<std::u16string> paths;
    // Around a value, a row (4096 bytes), a read block (256 KiB) and an output
    // block (several read blocks).
    const std::size_t sizes[] = {1, 7, 8, 9, 4095, 4096, 4097, 8192, 262143, 262144, 262145, 262144 * 3, 2000003, 0};
    unsigned seed = 1;
    for (std::size_t size : sizes) {
        paths.push_back(dir.write(u"f" + utf16_from_utf8(std::to_string(size)) + u".bin", random_bytes(size, seed++)));
    }
    expect_stream_equals_copy(paths);
}

TEST(StreamDataSection, GivesTheCopysLabelsToNamesThatShareOne) {
    ScratchDir dir;
    std::vector<std::u16string> paths;
    for (const char16_t* name : {u"x/a-b.bin", u"y/a_b.bin", u"a_b.bin_2", u"z/A.b.bin"})
        paths.push_back(dir.write(name, "ab"));
    expect_stream_equals_copy(paths);
}

TEST(StreamDataSection, UsesRowsCachedByAnEarlierCopy) {
    ScratchDir dir;
    FileMap map;
    const std::u16string path = dir.write(u"a.bin", "cached!!x");
    add(map, path);
    const DataSection section = build_data_section(map, nullptr);
    ASSERT_FALSE(map.find(u"a.bin")->text.empty());
    Collect out;
    EXPECT_EQ(stream(map, TextEncoding::Utf16Le, out).status, StreamStatus::Ok);
    EXPECT_EQ(out.bytes, utf16le(section.text.view()));
}

struct RecordingProgress : ProgressSink {
    std::int32_t maximum = -1;
    std::vector<std::int32_t> values;
    std::function<void()> on_value;
    void set_progress_maximum(std::int32_t m) noexcept override { maximum = m; }
    void set_progress_value(std::int32_t v) noexcept override {
        values.push_back(v);
        if (on_value)
            on_value();
    }
};

TEST(StreamDataSection, MovesTheProgressPerBlockAndReachesTheTotalAtTheEnd) {
    ScratchDir dir;
    FileMap map;
    add(map, dir.write(u"big.bin", std::string(1000000, 'b')));
    add(map, dir.write(u"small.bin", "s"));
    RecordingProgress progress;
    Collect out;
    ASSERT_EQ(stream(map, TextEncoding::Utf8, out, &progress).status, StreamStatus::Ok);
    EXPECT_EQ(progress.maximum, 1000001);
    ASSERT_GE(progress.values.size(), 5u) << "several values while the large file is read";
    EXPECT_EQ(progress.values.front(), 0);
    for (std::size_t i = 1; i < progress.values.size(); ++i)
        EXPECT_LE(progress.values[i - 1], progress.values[i]);
    EXPECT_LT(progress.values[progress.values.size() - 2], 1000001);
    EXPECT_EQ(progress.values.back(), 1000001);
}

TEST(StreamDataSection, WritesNothingWhenNoEntryCanBeWritten) {
    ScratchDir dir;
    FileMap map;
    add(map, dir.path(u"gone.bin"));
    const std::u16string vanishing = dir.write(u"vanishing.bin", "v");
    add(map, vanishing);
    RecordingProgress progress;
    // After the refresh, before the file is opened.
    progress.on_value = [&] { std::filesystem::remove(std::filesystem::path(vanishing)); };
    Collect out;
    const StreamResult result = stream(map, TextEncoding::Utf8, out, &progress);
    EXPECT_EQ(result.status, StreamStatus::NothingToWrite);
    EXPECT_EQ(out.writes, 0u);
    ASSERT_EQ(result.left_out.size(), 2u);
    EXPECT_EQ(result.left_out[0].reason, LeftOutReason::Gone);
    EXPECT_EQ(result.left_out[1].path, vanishing);
    EXPECT_EQ(result.left_out[1].reason, LeftOutReason::CannotOpen);
}

// Without a refresh first: what changed since the collection is found when
// each file is opened.
TEST(StreamDataSection, AfterACollectionDescribesFilesAsTheyAreWhenOpened) {
    ScratchDir dir;
    const std::u16string kept = dir.write(u"kept.bin", "kept");
    const std::u16string grown = dir.write(u"grown.bin", "g");
    const std::u16string gone = dir.write(u"gone.bin", "x");
    FileMap map;
    collect_dropped_paths(map, {kept, grown, gone}, nullptr);
    std::filesystem::remove(std::filesystem::path(gone));
    dir.write(u"grown.bin", "grown since");
    FileMap copy;
    collect_dropped_paths(copy, {kept, grown}, nullptr);
    const DataSection section = build_data_section(copy, nullptr);
    Collect out;
    const StreamResult result = stream_data_section(map, TextEncoding::Utf8, out, nullptr, MapFacts::JustCollected);
    EXPECT_EQ(result.status, StreamStatus::Ok);
    EXPECT_EQ(out.bytes, utf8_from_utf16(section.text.view()));
    ASSERT_EQ(result.left_out.size(), 1u);
    EXPECT_EQ(result.left_out[0].path, gone);
    EXPECT_EQ(result.left_out[0].reason, LeftOutReason::Gone);
}

TEST(StreamDataSection, NeverMixesBytesOfAFileWrittenWhileItIsRead) {
    ScratchDir dir;
    FileMap map;
    const std::u16string path = dir.write(u"moving.bin", std::string(1000000, 'm'));
    add(map, path);
    RecordingProgress progress;
    bool rewritten = false;
    progress.on_value = [&] {
        // Once the first block is in: the same size, new bytes, the old date back.
        if (progress.values.size() != 2)
            return;
        const std::filesystem::path file(path);
        const auto stamp = std::filesystem::last_write_time(file);
        std::ofstream out(file, std::ios::binary | std::ios::in | std::ios::out);
        rewritten = out.is_open() && out.write(std::string(1000000, 'n').data(), 1000000).good();
        out.close();
        std::error_code refused;  // on Windows the reader's unshared open refuses this too
        std::filesystem::last_write_time(file, stamp, refused);
    };
    Collect out;
    const StreamResult result = stream(map, TextEncoding::Utf8, out, &progress);
#ifdef _WIN32
    // Files are read unshared: the writer is refused and the text is whole.
    EXPECT_FALSE(rewritten);
    EXPECT_EQ(result.status, StreamStatus::Ok);
    EXPECT_EQ(out.bytes.find("6E6E"), std::string::npos);
#else
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(result.status, StreamStatus::FileFailed);
    EXPECT_TRUE(result.changed_while_read);
    EXPECT_EQ(result.failed_path, path);
#endif
}

TEST(StreamDataSection, StopsAtTheFirstRefusedWrite) {
    ScratchDir dir;
    FileMap map;
    add(map, dir.write(u"a.bin", std::string(3000000, 'a')));
    add(map, dir.write(u"b.bin", std::string(3000000, 'b')));
    Collect out;
    out.fail_after = 1;
    const StreamResult result = stream(map, TextEncoding::Utf16Le, out);
    EXPECT_EQ(result.status, StreamStatus::OutputFailed);
    EXPECT_EQ(out.writes, 2u);
}

}  // namespace
