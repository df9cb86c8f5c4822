#include "app/byte_size.h"

#include <cmath>
#include <cstdio>
#include <iterator>

std::u16string byte_size_text(double bytes,
                              std::u16string_view space,
                              std::u16string_view one_byte,
                              std::u16string_view bytes_word) {
    char text[32];
    const double whole = std::round(bytes);
    if (whole < 1024) {
        std::snprintf(text, sizeof text, "%.0f", whole);
        return std::u16string(text, text + std::char_traits<char>::length(text)) + std::u16string(space) +
               std::u16string(whole == 1 ? one_byte : bytes_word);
    }
    static constexpr const char16_t* kUnits[] = {u"KiB", u"MiB", u"GiB", u"TiB"};
    double value = bytes / 1024;
    std::size_t unit = 0;
    while (value >= 1023.95 && unit + 1 < std::size(kUnits)) {
        value /= 1024;
        ++unit;
    }
    std::snprintf(text, sizeof text, "%.1f", value);
    return std::u16string(text, text + std::char_traits<char>::length(text)) + std::u16string(space) +
           std::u16string(kUnits[unit], kUnits[unit] + 3);
}
