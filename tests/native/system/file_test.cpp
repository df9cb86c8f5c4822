// The file layer on real files: sizes, dates, name parts, buffered reading.
#include "system/file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "base/object_id.h"
#include "support/scratch_dir.h"

namespace {

std::string bytes_0_to(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i * 7 + 3);
    return s;
}

TEST(FilePart, TakesTheNameAfterTheLastSeparatorOfEitherKind) {
    struct Case {
        std::u16string path, part, stem;
    };
    const std::vector<Case> cases = {
        {u"D:\\data\\Hello World.txt", u"Hello World.txt", u"Hello World"},
        {u"/home/u/a.b.c", u"a.b.c", u"a.b"},
        {u"mixed\\dir/name.bin", u"name.bin", u"name"},
        {u"D:\\dir\\", u"", u""},
        {u"\"C:\\quoted dir\\file.txt\" rest", u"file.txt", u"file"},
        {u"\"plain.txt\"", u"plain.txt", u"plain"},
        {u"dir\\.hidden", u".hidden", u".hidden"},  // a leading dot is no extension
        {u"dir\\name.", u"name.", u"name."},        // nor is a trailing one
        {u"dir\\a.b c", u"a.b c", u"a.b c"},        // a blank after the dot stops the search
        {u"dir\\a b.txt", u"a b.txt", u"a b"},
        {u"", u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file_part(c.path), c.part);
        EXPECT_EQ(file_part(c.path, FILE_PART_NO_EXTENSION), c.stem);
    }
    // A real path's name reads no quotes.
    EXPECT_EQ(path_name(u"/tmp/\"plain.txt\" rest"), u"\"plain.txt\" rest");
    EXPECT_EQ(path_name(u"dir/x\"1"), u"x\"1");
    // "\\" separates folders on Windows only; file_part takes it everywhere.
#ifdef _WIN32
    EXPECT_EQ(path_name(u"dir\\a\\b.bin"), u"b.bin");
#else
    EXPECT_EQ(path_name(u"dir/a\\b.bin"), u"a\\b.bin");
#endif
    EXPECT_EQ(file_part(u"dir/a\\b.bin"), u"b.bin");
}

TEST(ExtensionPart, IsTheTextAfterTheNamesLastDot) {
    EXPECT_EQ(extension_part(u"C:\\a\\archive.tar.gz"), u"gz");
    EXPECT_EQ(extension_part(u"C:\\a\\.profile"), u"");
    EXPECT_EQ(extension_part(u"/a/.profile"), u"");
    EXPECT_EQ(extension_part(u".profile"), u"");
    EXPECT_EQ(extension_part(u"C:\\dir.d\\file"), u"");
    EXPECT_EQ(extension_part(u"C:/dir.d/file"), u"");
    EXPECT_EQ(extension_part(u"my file.TXT"), u"TXT");
    EXPECT_EQ(extension_part(u"name.ext with blank"), u"");
    EXPECT_EQ(extension_part(u"\"C:\\x\\a.txt\""), u"txt");
    EXPECT_EQ(extension_part(u""), u"");
}

TEST(FileSize, TellsFilesFoldersAndNothingApart) {
    ScratchDir dir;
    const std::u16string empty = dir.write(u"empty.bin", "");
    const std::u16string some = dir.write(u"some.bin", bytes_0_to(12345));
    const std::u16string folder = dir.make_folder(u"sub");
    EXPECT_EQ(file_size(empty), 0);
    EXPECT_EQ(file_size(some), 12345);
    EXPECT_EQ(file_size(folder), -2);
    EXPECT_EQ(file_size(folder + u"/"), -2);
    EXPECT_EQ(file_size(folder + ScratchDir::kSeparator + ScratchDir::kSeparator), -2);
    EXPECT_EQ(file_size(dir.path(u"missing.bin")), -1);
    EXPECT_EQ(file_size(u""), -1);
}

TEST(FileSize, CountsLengthsBeyondFourGibibytes) {
    ScratchDir dir;
    const std::u16string big = dir.write(u"sparse.bin", "x");
    std::error_code error;
    std::filesystem::resize_file(std::filesystem::path(big), (1ULL << 32) + 10, error);
    if (error)
        GTEST_SKIP() << "no sparse files here: " << error.message();
    EXPECT_EQ(file_size(big), (1LL << 32) + 10);
}

#ifndef _WIN32
// A zone with summer time for the scope, whatever the machine's (Wine takes
// its zone from the session's TZ, which the suites set).
class SummerTimeZone {
public:
    SummerTimeZone() {
        if (const char* tz = std::getenv("TZ"))
            saved_ = tz, had_ = true;
        // A rule, not a zone's name: it needs no zone files on the machine.
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    ~SummerTimeZone() {
        if (had_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    SummerTimeZone(const SummerTimeZone&) = delete;
    SummerTimeZone& operator=(const SummerTimeZone&) = delete;

private:
    std::string saved_;
    bool had_ = false;
};
#endif

// In summer and in winter alike, whatever the season today.
TEST(FileDate, TakesTheOffsetOfItsOwnSeason) {
#ifdef _WIN32
    // The zone is the session's (the suites set TZ for Wine).
    TIME_ZONE_INFORMATION zone{};
    if (!GetTimeZoneInformationForYear(2021, nullptr, &zone) || zone.DaylightDate.wMonth == 0)
        GTEST_SKIP() << "this session's time zone has no summer time";
#else
    const SummerTimeZone zone;
#endif
    ScratchDir dir;
    const std::u16string file = dir.write(u"dated.txt", "x");
    ASSERT_TRUE(ScratchDir::set_modified(file, 2021, 7, 15, 12, 0, 0));
    EXPECT_EQ(file_date(file, FILE_DATE_MODIFIED), 1626350400);
    ASSERT_TRUE(ScratchDir::set_modified(file, 2021, 1, 15, 12, 0, 0));
    EXPECT_EQ(file_date(file, FILE_DATE_MODIFIED), 1610712000);
}

TEST(FileDate, IsLocalWallClockSecondsWithinTheRepresentableRange) {
    ScratchDir dir;
    const std::u16string file = dir.write(u"dated.txt", "x");
    EXPECT_GT(file_date(file, FILE_DATE_CREATED), 1600000000);  // just now
    EXPECT_GT(file_date(file, FILE_DATE_ACCESSED), 1600000000);
    ASSERT_TRUE(ScratchDir::set_modified(file, 2021, 3, 4, 5, 6, 7));
    EXPECT_EQ(file_date(file, FILE_DATE_MODIFIED), 1614834367);
    ASSERT_TRUE(ScratchDir::set_modified(file, 2000, 2, 29, 23, 59, 59));
    EXPECT_EQ(file_date(file, FILE_DATE_MODIFIED), 951868799);
    ASSERT_TRUE(ScratchDir::set_modified(file, 2040, 6, 1, 0, 0, 0));
    EXPECT_EQ(file_date(file, FILE_DATE_MODIFIED), -1);
    EXPECT_EQ(file_date(dir.path(u"missing.txt"), FILE_DATE_MODIFIED), 0);
    EXPECT_EQ(file_date(file, 7), 0);
}

TEST(FileFacts, AreWhatFileSizeAndFileDateSayOfEveryKindOfPath) {
    ScratchDir dir;
    const std::u16string file = dir.write(u"sub/f.bin", "12345");
    ASSERT_TRUE(ScratchDir::set_modified(file, 2001, 2, 3, 4, 5, 6));
    const std::u16string old = dir.write(u"old.bin", "");
    ASSERT_TRUE(ScratchDir::set_modified(old, 1960, 1, 1, 0, 0, 0));
    for (const std::u16string& path : {file, old, dir.path(u"sub"), dir.path(u"sub/"), file + u"/", dir.path(u"none"),
                                       std::u16string(), dir.path(u"s*b")}) {
        const FileFacts facts = file_facts(path);
        EXPECT_EQ(facts.size, file_size(path)) << std::string(path.begin(), path.end());
        EXPECT_EQ(facts.date, file_date(path, FILE_DATE_MODIFIED)) << std::string(path.begin(), path.end());
    }
    EXPECT_EQ(file_facts(file).size, 5);
}

TEST(ReadQuad, DeliversGroupsOfEightThenTheRestZeroFilledThenZero) {
    ScratchDir dir;
    const std::u16string file = dir.write(u"nine.bin", "\x01\x02\x03\x04\x05\x06\x07\x80\xFF");
    const std::intptr_t f = open_file_for_reading(PB_Any, file);
    ASSERT_NE(f, 0);
    EXPECT_EQ(file_length(f), 9);
    EXPECT_EQ(file_position(f), 0);
    EXPECT_EQ(read_quad(f), 0x8007060504030201ULL);
    EXPECT_EQ(file_position(f), 8);  // although the platform read ahead
    EXPECT_EQ(read_quad(f), 0xFFULL);
    EXPECT_EQ(file_position(f), 9);
    EXPECT_EQ(read_quad(f), 0ULL);
    close_file(f);
    EXPECT_EQ(file_length(f), -1);
    EXPECT_EQ(file_position(f), -1);
    EXPECT_EQ(read_quad(f), 0ULL);
}

// Odd-sized reads across the buffer's edges, buffered and straight through.
TEST(ReadData, DeliversTheFileUnchangedWhateverTheChunkSizes) {
    ScratchDir dir;
    const std::string content = bytes_0_to(20000);
    const std::u16string file = dir.write(u"data.bin", content);
    for (const std::int32_t buffer : {4096, 0}) {
        set_file_buffer_size(buffer);
        const std::intptr_t f = open_file_for_reading(3, file);
        ASSERT_NE(f, 0);
        std::string back;
        const std::size_t chunks[] = {1, 4095, 3, 5000, 4096, 7, 9000};
        for (std::size_t i = 0; back.size() < content.size(); ++i) {
            std::string piece(chunks[i % std::size(chunks)], '\0');
            const std::int64_t got = read_data(3, piece.data(), static_cast<std::int64_t>(piece.size()));
            ASSERT_GT(got, 0) << "buffer " << buffer;
            back.append(piece, 0, static_cast<std::size_t>(got));
            EXPECT_EQ(file_position(3), static_cast<std::int64_t>(back.size()));
        }
        EXPECT_EQ(back, content) << "buffer " << buffer;
        char extra = 0;
        EXPECT_EQ(read_data(3, &extra, 1), 0);
        close_file(3);
    }
    set_file_buffer_size(4096);
}

TEST(OpenFileForReading, NumbersAreReusedAndFailuresFreeThem) {
    ScratchDir dir;
    const std::u16string a = dir.write(u"a.bin", "AAAAAAAA");
    const std::u16string b = dir.write(u"b.bin", "BBBBBBBBBB");
    ASSERT_NE(open_file_for_reading(5, a), 0);
    ASSERT_NE(open_file_for_reading(5, b), 0);  // replaces a under the same number
    EXPECT_EQ(file_length(5), 10);
    EXPECT_EQ(open_file_for_reading(5, dir.path(u"missing.bin")), 0);
    EXPECT_EQ(file_length(5), -1);
    EXPECT_EQ(open_file_for_reading(6, dir.folder()), 0);  // a folder is no file

    const std::intptr_t h1 = open_file_for_reading(PB_Any, a);
    const std::intptr_t h2 = open_file_for_reading(7, b);
    ASSERT_NE(h1, 0);
    ASSERT_NE(h2, 0);
    close_file(PB_Any);
    EXPECT_EQ(file_length(h1), -1);
    EXPECT_EQ(file_length(7), -1);
    close_file(7);  // closing twice does nothing
}

// A generation's worker reads numbered files while the GUI thread opens and
// closes others, PB_Any included: the library's slots grow and its handle
// list changes under both.
TEST(OpenFileForReading, TwoThreadsShareTheLibrarySafely) {
    ScratchDir dir;
    const std::string content = bytes_0_to(300);
    std::u16string paths[2];
    for (int t = 0; t < 2; ++t)
        paths[t] = dir.write(t == 0 ? u"worker.bin" : u"gui.bin", content);
    std::atomic<int> bad{0};
    auto work = [&](int t) {
        for (int round = 0; round < 2000; ++round) {
            // One thread's rising numbers grow the slot array under the other's
            // low numbers; both add to and take from the handle list.
            const std::intptr_t number = round % 3 == 0 ? PB_Any : t == 0 ? 16 + 37 * round : 1 + round % 8;
            const std::intptr_t opened = open_file_for_reading(number, paths[t]);
            const std::intptr_t id = number == PB_Any ? opened : number;
            std::string back(300, '\0');
            if (!opened || read_data(id, back.data(), 300) != 300 || back != content)
                ++bad;
            close_file(id);
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    EXPECT_EQ(bad.load(), 0);
}

}  // namespace
