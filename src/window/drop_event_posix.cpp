// Dropped names in an 8-bit code page, natively: Latin-1.
#include "window/drop_event.h"

std::u16string drop_ansi_to_utf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}
