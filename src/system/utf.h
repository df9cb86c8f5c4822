// Conversions between the system's UTF-16 text and UTF-8 (POSIX paths,
// terminals, files). Malformed input becomes U+FFFD; nothing is dropped silently.
#pragma once

#include <string>
#include <string_view>

[[nodiscard]] std::string utf8_from_utf16(std::u16string_view text);
[[nodiscard]] std::u16string utf16_from_utf8(std::string_view text);

// ASCII-only lower-casing of UTF-16 text (A-Z → a-z), as the system compares names.
[[nodiscard]] std::u16string ascii_lower(std::u16string_view text);
[[nodiscard]] constexpr char16_t ascii_lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Whole-text comparison that ignores the case of ASCII letters only.
[[nodiscard]] bool ascii_equal_ignore_case(std::u16string_view a, std::u16string_view b);
