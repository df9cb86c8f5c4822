// ANSI conversion off Windows: there is no system code page to ask, so the
// ANSI page is taken to be Latin-1 (U+0000..U+00FF map to their own byte) and
// everything else, a surrogate pair included, becomes one '?'.
#include "dialog/ansi_text.h"

std::size_t ansi_from_utf16(std::u16string_view text, char* out, std::size_t capacity) noexcept {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size() && n < capacity; ++i) {
        const char16_t c = text[i];
        if (c <= 0xFF) {
            out[n++] = static_cast<char>(c);
            continue;
        }
        const bool pair =
            c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair)
            ++i;  // one character, one '?'
        out[n++] = '?';
    }
    return n;
}
