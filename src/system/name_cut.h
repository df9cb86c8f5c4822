// Cutting a file name short without splitting a character, for names that
// get a suffix (a temporary file beside its target).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

// The path with its last name cut so that the name, with `suffix_units` more
// units after it, fits in `limit` units (the file system's name length). A
// cut never leaves half a character: not before a UTF-8 continuation byte,
// not before the second unit of a UTF-16 surrogate pair.
template <class Char>
[[nodiscard]] std::basic_string<Char> cut_last_name(std::basic_string<Char> path,
                                                    std::size_t suffix_units,
                                                    std::size_t limit = 255) {
    const std::size_t separator = path.find_last_of(std::basic_string<Char>{Char('/'), Char('\\')});
    const std::size_t start = separator == std::basic_string<Char>::npos ? 0 : separator + 1;
    if (suffix_units >= limit || path.size() - start + suffix_units <= limit)
        return path;
    std::size_t end = start + (limit - suffix_units);
    const auto inside_character = [](Char unit) {
        const auto u = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(unit));
        return sizeof(Char) == 1 ? (u & 0xC0) == 0x80 : (u >= 0xDC00 && u <= 0xDFFF);
    };
    while (end > start && inside_character(path[end]))
        --end;
    path.resize(end);
    return path;
}
