// Data.q rows: hex digits through a byte table, written straight into the
// builder's block, which is sized once for the whole file.
#include "app/data_rows.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "app/row_digits.h"
#include "base/object_id.h"
#include "system/file.h"
#include "system/out_of_memory.h"

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;  // a multiple of 8

}  // namespace

std::size_t data_rows_capacity(std::uint64_t bytes, std::int32_t values_per_line) noexcept {
    const std::uint64_t units = row_digits::max_units(bytes, values_per_line);
    return units > SIZE_MAX / 4 ? SIZE_MAX / 4 : static_cast<std::size_t>(units);
}

bool DataRowsWriter::write(const unsigned char* bytes, std::size_t count) noexcept {
    if (count == 0)
        return true;
    char16_t* const start = out_.prepare(data_rows_capacity(count, values_per_line_));
    if (!start)
        return false;
    char16_t* const out = row_digits::put_rows(start, bytes, count, values_per_line_, in_row_);
    out_.commit(static_cast<std::size_t>(out - start));
    return true;
}

void DataRowsWriter::finish() noexcept {
    const std::u16string_view text = out_.view();
    if (text.size() > start_ && text.back() == u',')
        out_.truncate(text.size() - 1);
}

DataRowsStatus append_file_rows(TextBuilder& out,
                                std::intptr_t file,
                                std::int64_t length,
                                std::int32_t values_per_line,
                                ReadProgress* progress) noexcept {
    const std::size_t start = out.size();
    const BigBlock block = big_block(kReadBlock);
    if (!block)
        return DataRowsStatus::OutOfMemory;
    DataRowsWriter writer(out, values_per_line);
    std::int64_t done = 0;
    std::size_t carry = 0;  // bytes of an unfinished group from a short read
    while (done < length) {
        const std::int64_t want = std::min<std::int64_t>(static_cast<std::int64_t>(kReadBlock - carry), length - done);
        const std::int64_t got = read_data(file, block.get() + carry, want);
        if (got <= 0) {
            // A file that ends early or a failing read: rows that stop short
            // would be wrong data, so the file gives none.
            out.truncate(start);
            return DataRowsStatus::ReadFailed;
        }
        done += got;
        const std::size_t have = carry + static_cast<std::size_t>(got);
        const std::size_t whole = done == length ? have : have / 8 * 8;
        if (!writer.write(block.get(), whole))
            return DataRowsStatus::OutOfMemory;  // out has dropped its text
        carry = have - whole;
        std::memmove(block.get(), block.get() + whole, carry);
        if (progress)
            progress->bytes_read(done);
    }
    writer.finish();
    return DataRowsStatus::Ok;
}

DataRows file_to_data_rows(std::u16string_view path, std::int32_t values_per_line) noexcept {
    DataRows rows;
    const std::intptr_t file = open_file_for_reading(PB_Any, path);
    if (!file) {
        rows.status = DataRowsStatus::CannotOpen;
        return rows;
    }
    const OpenFile owner(file);
    const std::int64_t length = file_length(file);
    if (length < 0) {
        rows.status = DataRowsStatus::ReadFailed;
        return rows;
    }
    if (length > INT32_MAX) {
        rows.status = DataRowsStatus::TooLarge;
        return rows;
    }
    rows.bytes = length;
    // Room for the most the rows can take, if there is that much; else they
    // grow as they come (bytes of small values take far less).
    (void)rows.text.reserve(data_rows_capacity(static_cast<std::uint64_t>(length), values_per_line));
    rows.status = append_file_rows(rows.text, file, length, values_per_line);
    if (rows.status != DataRowsStatus::Ok) {
        rows.text.clear();
        return rows;
    }
    // The block was sized for 16 digits a value; files of small values use far
    // less.
    if (rows.text.capacity() - rows.text.size() > rows.text.size() / 8)
        rows.text.shrink_to_fit();
    return rows;
}
