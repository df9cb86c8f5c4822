// Data.q rows: value formatting, row breaks, and byte-for-byte agreement with
// the value-by-value reading through read_quad.
#include "app/data_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "app/section_format.h"
#include "base/object_id.h"
#include "support/scratch_dir.h"
#include "support/test_bytes.h"
#include "system/file.h"

namespace {

std::u16string rows_of(const ScratchDir& dir, std::string_view bytes, std::int32_t per_line = 512) {
    DataRows rows = file_to_data_rows(dir.write(u"rows.bin", bytes), per_line);
    EXPECT_EQ(rows.status, DataRowsStatus::Ok);
    EXPECT_EQ(rows.bytes, static_cast<std::int64_t>(bytes.size()));
    return rows.text.text();
}

std::u16string hex(std::uint64_t v) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), u"0123456789ABCDEF"[v % 16]);
        v /= 16;
    } while (v);
    return digits;
}

// The rows as the file layer yields them one value at a time, asking for the
// position and the length before every value.
std::u16string rows_by_quads(const std::u16string& path, std::int32_t per_line) {
    const std::intptr_t f = open_file_for_reading(0, path);
    if (!f)
        return {};
    std::u16string out;
    std::int32_t counter = 0;
    while (file_position(0) < file_length(0)) {
        const std::uint64_t value = read_quad(0);
        if (per_line > 0 && counter == per_line) {
            out += u"\tData.q ";
            counter = 0;
        }
        out += u"$" + hex(value);
        ++counter;
        out += per_line > 0 && counter == per_line ? u"\r\n" : u",";
    }
    close_file(0);
    return trim_trailing(out, u",");
}

TEST(DataRows, FormatsValuesLittleEndianWithoutLeadingZeros) {
    ScratchDir dir;
    EXPECT_EQ(rows_of(dir, "abc"), u"$636261");
    EXPECT_EQ(rows_of(dir, "hello world"), u"$6F77206F6C6C6568,$646C72");
    EXPECT_EQ(rows_of(dir, std::string("\x01\0\0\0\0\0\0\0", 8)), u"$1");
    EXPECT_EQ(rows_of(dir, std::string("\0\0\0\0\0\0\0\x80", 8)), u"$8000000000000000");
    EXPECT_EQ(rows_of(dir, std::string(8, '\0')), u"$0");
    EXPECT_EQ(rows_of(dir, std::string(8, '\xFF')), u"$FFFFFFFFFFFFFFFF");
    EXPECT_EQ(rows_of(dir, std::string("\0\0\0\0\0\0\0\0\x10", 9)), u"$0,$10");
    EXPECT_EQ(rows_of(dir, std::string("\x0F\0\0\0\0\0\0\x01", 8)), u"$10000000000000F");
    EXPECT_EQ(rows_of(dir, ""), u"");
}

TEST(DataRows, BreaksRowsAfterEveryFiveHundredTwelveValues) {
    ScratchDir dir;
    const std::u16string full = rows_of(dir, std::string(4096, '\x01'));
    const std::u16string value = u"$101010101010101";
    std::u16string expected;
    for (int i = 0; i < 512; ++i)
        expected += value + (i < 511 ? u"," : u"\r\n");
    EXPECT_EQ(full, expected);

    const std::u16string more = rows_of(dir, std::string(4096, '\x01') + "\x02");
    EXPECT_EQ(more, expected + u"\tData.q $2");

    EXPECT_EQ(rows_of(dir, std::string(24, '\0'), 2), u"$0,$0\r\n\tData.q $0");
    EXPECT_EQ(rows_of(dir, std::string(24, '\0'), 0), u"$0,$0,$0");  // no breaks at all
}

TEST(DataRows, AgreeWithValueByValueReadingForEverySize) {
    ScratchDir dir;
    unsigned seed = 1;
    for (const std::size_t size : {1u, 7u, 8u, 9u, 4095u, 4096u, 4097u, 8195u, 65535u, 65536u, 65543u, 200003u}) {
        const std::u16string path = dir.write(u"random.bin", random_bytes(size, seed++));
        for (const std::int32_t per_line : {512, 3}) {
            DataRows rows = file_to_data_rows(path, per_line);
            ASSERT_EQ(rows.status, DataRowsStatus::Ok);
            ASSERT_EQ(rows.text.view(), rows_by_quads(path, per_line)) << size << " bytes, " << per_line;
        }
    }
}

TEST(DataRows, ReportWhyAFileGivesNoRows) {
    ScratchDir dir;
    EXPECT_EQ(file_to_data_rows(dir.path(u"missing.bin"), 512).status, DataRowsStatus::CannotOpen);
    EXPECT_EQ(file_to_data_rows(dir.folder(), 512).status, DataRowsStatus::CannotOpen);

    const std::u16string big = dir.write(u"sparse.bin", "x");
    std::error_code error;
    std::filesystem::resize_file(std::filesystem::path(big), (1ULL << 32) + 10, error);
    if (error)
        GTEST_SKIP() << "no sparse files here: " << error.message();
    const DataRows rows = file_to_data_rows(big, 512);
    EXPECT_EQ(rows.status, DataRowsStatus::TooLarge);  // never read as "10 bytes"
    EXPECT_TRUE(rows.text.empty());
}

TEST(DataRowsWriter, CarriesTheRowCountAcrossBlocks) {
    TextBuilder text;
    DataRowsWriter writer(text, 2);
    const unsigned char bytes[24] = {1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 3};
    ASSERT_TRUE(writer.write(bytes, 8));
    ASSERT_TRUE(writer.write(bytes + 8, 8));
    ASSERT_TRUE(writer.write(bytes + 16, 8));
    writer.finish();
    EXPECT_EQ(text.view(), u"$1,$2\r\n\tData.q $3");
}

}  // namespace
