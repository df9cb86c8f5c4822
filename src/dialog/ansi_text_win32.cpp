// ANSI conversion on Windows: the process's ANSI code page (CP_ACP), which may
// be a double-byte one or UTF-8.
#include "dialog/ansi_text.h"

#include <algorithm>
#include <cstring>

#include "system/win32.h"

namespace {

// Bytes of the character that starts with this byte, so that a cut never
// leaves half a character behind (the next byte would be read as garbage).
std::size_t character_length(unsigned char lead, bool utf8) {
    if (!utf8)
        return IsDBCSLeadByte(lead) ? 2 : 1;
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

}  // namespace

std::size_t ansi_from_utf16(std::u16string_view text, char* out, std::size_t capacity) noexcept {
    // Converted in chunks so the scratch buffer stays on the stack: a unit
    // gives at most three bytes (UTF-8 as the ANSI page), and a chunk never
    // ends inside a surrogate pair, so each converts exactly as the whole would.
    constexpr std::size_t kChunk = 256;
    char scratch[3 * kChunk];
    const bool utf8 = GetACP() == CP_UTF8;
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < text.size() && n < capacity) {
        std::size_t units = std::min(text.size() - i, kChunk);
        if (i + units < text.size() && text[i + units - 1] >= 0xD800 && text[i + units - 1] <= 0xDBFF)
            --units;
        const int written =
            WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text.data() + i), static_cast<int>(units),
                                scratch, static_cast<int>(sizeof scratch), nullptr, nullptr);
        if (written <= 0)
            break;
        const auto total = static_cast<std::size_t>(written);
        for (std::size_t k = 0; k < total;) {
            const std::size_t step =
                std::min(character_length(static_cast<unsigned char>(scratch[k]), utf8), total - k);
            if (n + step > capacity)
                return n;
            std::memcpy(out + n, scratch + k, step);
            n += step;
            k += step;
        }
        i += units;
    }
    return n;
}
