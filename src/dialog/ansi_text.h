// UTF-16 text in the system's ANSI code page, for the dialog engine's 8-bit
// error messages.
#pragma once

#include <cstddef>
#include <string_view>

// Writes the text's ANSI form to out: at most capacity bytes, no NUL added,
// whole characters only (what does not fit is cut). Characters the code page
// cannot hold become '?'. Returns the number of bytes written.
std::size_t ansi_from_utf16(std::u16string_view text, char* out, std::size_t capacity) noexcept;
