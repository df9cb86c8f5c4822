// Converts a file's bytes into Data.q rows: 64-bit values, first byte lowest,
// as "$" and capital hex digits without leading zeros, separated by ",", with
// "\r\n\tData.q " after every values_per_line values (0 or less: one line).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/text_builder.h"

// Appends the rows of a byte stream to a builder, block by block.
class DataRowsWriter {
public:
    DataRowsWriter(TextBuilder& out, std::int32_t values_per_line) noexcept
        : out_(out), start_(out.size()), values_per_line_(values_per_line) {}

    // Converts bytes; every call but the last must pass a multiple of 8 bytes.
    // False when the builder's memory ran out.
    bool write(const unsigned char* bytes, std::size_t count) noexcept;
    // Ends the rows: no "," after the last value (text before the rows is left alone).
    void finish() noexcept;

private:
    TextBuilder& out_;
    std::size_t start_;  // where the rows begin in out_
    std::int32_t values_per_line_;
    std::int32_t in_row_ = 0;  // values in the current row
};

// The most units the rows of `bytes` bytes can take.
[[nodiscard]] std::size_t data_rows_capacity(std::uint64_t bytes, std::int32_t values_per_line) noexcept;

enum class DataRowsStatus { Ok, CannotOpen, TooLarge, ReadFailed, OutOfMemory };

struct DataRows {
    DataRowsStatus status = DataRowsStatus::Ok;
    TextBuilder text;        // empty unless Ok (and empty for an empty file)
    std::int64_t bytes = 0;  // the file's length when it was read
};

// Told how many bytes of a file have been read, after each block.
class ReadProgress {
public:
    virtual void bytes_read(std::int64_t done) noexcept = 0;

protected:
    ~ReadProgress() = default;
};

// Appends the rows of an open file, read from its position to `length`, to
// `out`. On failure `out` is cut back to what it held before.
[[nodiscard]] DataRowsStatus append_file_rows(TextBuilder& out,
                                              std::intptr_t file,
                                              std::int64_t length,
                                              std::int32_t values_per_line,
                                              ReadProgress* progress = nullptr) noexcept;

// The rows of the file at `path`, read in large blocks to its length at the
// time it was opened. Files of 2 GiB or more are not read (TooLarge).
[[nodiscard]] DataRows file_to_data_rows(std::u16string_view path, std::int32_t values_per_line) noexcept;
