// Line-break convention of a text buffer.
#include "xml/newline_style.h"

#include <cstring>

#include "xml/xml_document.h"

namespace {

constexpr unsigned kCr = 13;
constexpr unsigned kLf = 10;

// Shared by both scans: `at(i)` reads unit i of `count`.
template <class Read>
std::int32_t scan(std::size_t count, Read at) {
    std::size_t i = count > 0 && at(0) == kLf ? 1 : 0;
    for (; i + 1 < count; ++i) {
        const unsigned unit = at(i);
        if (unit == kCr)
            return at(i + 1) == kLf ? NEWLINE_CRLF : NEWLINE_CR;
        if (unit == kLf)
            return NEWLINE_LF;
    }
    return NEWLINE_NONE;
}

}  // namespace

std::int32_t detect_newline_style(const void* data, std::size_t bytes) noexcept {
    const auto* p = static_cast<const unsigned char*>(data);
    if (!p || reinterpret_cast<std::uintptr_t>(p) + bytes < reinterpret_cast<std::uintptr_t>(p))
        bytes = 0;

    int zeros = 0;
    for (std::size_t i = 0; i < bytes && zeros <= 4; ++i)
        zeros += p[i] == 0;
    if (zeros > 4) {
        return scan(bytes / 2, [p](std::size_t i) {
            char16_t unit;
            std::memcpy(&unit, p + 2 * i, 2);
            return unsigned(unit);
        });
    }
    return scan(bytes, [p](std::size_t i) { return unsigned(p[i]); });
}
