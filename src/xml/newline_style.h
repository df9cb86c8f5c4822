// Line-break convention of a text buffer, so that parsed texts keep the
// input's line breaks.
#pragma once

#include <cstddef>
#include <cstdint>

// NEWLINE_CRLF, NEWLINE_LF or NEWLINE_CR from the first line break found, or
// NEWLINE_NONE. More than four zero bytes make the buffer 16-bit units, else
// bytes. A leading LF is skipped and the last unit is never examined.
[[nodiscard]] std::int32_t detect_newline_style(const void* data, std::size_t bytes) noexcept;
