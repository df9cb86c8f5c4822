// Data.q rows: hex digits through a byte table, written straight into the
// builder's block, which is sized once for the whole file.
#include "app/data_rows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

#include "gadget/object_registry.h"
#include "system/file.h"

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;  // a multiple of 8
constexpr std::size_t kMaxValueUnits = 19;     // "$", 16 digits and "," or, ending a row, "\r\n"
constexpr std::u16string_view kRowStart = u"\tData.q ";

// Two hex digits per byte, as the two UTF-16 units of a 32-bit word in memory.
constexpr std::array<std::uint32_t, 256> make_hex_pairs() {
    std::array<std::uint32_t, 256> pairs{};
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    for (std::uint32_t b = 0; b < 256; ++b) {
        const std::uint32_t high = digits[b >> 4], low = digits[b & 15];
        pairs[b] = high | (low << 16);  // little-endian: the high digit comes first
    }
    return pairs;
}
constexpr std::array<std::uint32_t, 256> kHexPairs = make_hex_pairs();

inline int hex_digit_count(std::uint64_t value) {
    return value == 0 ? 1 : (64 - __builtin_clzll(value) + 3) / 4;
}

inline void put_pair(char16_t* out, std::uint64_t value, int shift) {
    const std::uint32_t pair = kHexPairs[(value >> shift) & 0xFF];
    std::memcpy(out, &pair, sizeof pair);
}

// Writes "$" and the value's digits at `out`; returns the units used. Digits
// go straight to the output: staging them elsewhere first costs a stalled
// reload for every value.
inline std::size_t put_value(char16_t* out, std::uint64_t value) {
    out[0] = u'$';
    if (value >> 60) {  // all 16 digits: nearly every value of random data
        for (int i = 0; i < 8; ++i)
            put_pair(out + 1 + 2 * i, value, 56 - 8 * i);
        return 17;
    }
    const int count = hex_digit_count(value);
    char16_t* p = out + 1;
    int shift = (count - 1) / 2 * 8;  // the highest byte with a significant digit
    if (count & 1) {
        *p++ = u"0123456789ABCDEF"[(value >> shift) & 0xF];
        shift -= 8;
    }
    for (; shift >= 0; shift -= 8, p += 2)
        put_pair(p, value, shift);
    return 1 + static_cast<std::size_t>(count);
}

// Eight bytes as a value, first byte lowest.
inline std::uint64_t load_value(const unsigned char* bytes) {
    static_assert(std::endian::native == std::endian::little, "a value's first byte is its lowest");
    std::uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Closes the file on every way out.
struct FileCloser {
    std::intptr_t file;
    ~FileCloser() { close_file(file); }
};

}  // namespace

std::size_t data_rows_capacity(std::uint64_t bytes, std::int32_t values_per_line) noexcept {
    const std::uint64_t values = (bytes + 7) / 8;
    std::uint64_t units = values * kMaxValueUnits;
    if (values_per_line > 0)
        units += (values / static_cast<std::uint64_t>(values_per_line) + 1) * kRowStart.size();
    return units > SIZE_MAX / 4 ? SIZE_MAX / 4 : static_cast<std::size_t>(units);
}

char16_t* DataRowsWriter::put(char16_t* out, std::uint64_t value) noexcept {
    if (values_per_line_ > 0 && in_row_ == values_per_line_) {
        std::memcpy(out, kRowStart.data(), kRowStart.size() * sizeof(char16_t));
        out += kRowStart.size();
        in_row_ = 0;
    }
    out += put_value(out, value);
    if (++in_row_ == values_per_line_) {
        out[0] = u'\r';
        out[1] = u'\n';
        return out + 2;
    }
    *out = u',';
    return out + 1;
}

bool DataRowsWriter::write(const unsigned char* bytes, std::size_t count) noexcept {
    if (count == 0)
        return true;
    char16_t* const start = out_.prepare(data_rows_capacity(count, values_per_line_));
    if (!start)
        return false;
    char16_t* out = start;
    std::size_t at = 0;
    for (; at + 8 <= count; at += 8)
        out = put(out, load_value(bytes + at));
    if (at < count) {
        // The last group of a file: the missing high bytes are 0.
        unsigned char group[8] = {};
        std::memcpy(group, bytes + at, count - at);
        out = put(out, load_value(group));
    }
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
                                std::int32_t values_per_line) noexcept {
    const std::size_t start = out.size();
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[kReadBlock]);
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
    FileCloser closer{file};
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
    if (!rows.text.reserve(data_rows_capacity(static_cast<std::uint64_t>(length), values_per_line))) {
        rows.status = DataRowsStatus::OutOfMemory;
    } else {
        rows.status = append_file_rows(rows.text, file, length, values_per_line);
    }
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
