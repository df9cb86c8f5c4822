// UTF-16 text at the Win32 edge: the system keeps std::u16string, the API
// takes wchar_t, which is 16 bits on Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 edge relies on 16-bit wchar_t");

// The text as the API's NUL-terminated wide string (the API only reads it).
[[nodiscard]] inline const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Copies length units of a wide buffer into the system's text.
[[nodiscard]] inline std::u16string from_wide(const wchar_t* units, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(units), length);
}

// Copies a NUL-terminated wide string; null gives the empty text.
[[nodiscard]] inline std::u16string from_wide(const wchar_t* units) {
    return units ? from_wide(units, std::char_traits<wchar_t>::length(units)) : std::u16string();
}
#endif
