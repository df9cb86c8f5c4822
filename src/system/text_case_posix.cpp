// Lower-casing through the C library's Unicode tables (the C.UTF-8 locale),
// unit by unit as the Windows build does, so keys agree on both platforms.
#include "system/text_case.h"

#include <locale.h>
#include <clocale>
#include <cwctype>

namespace {

locale_t unicode_locale() {
    // Created once and kept for the process: towlower_l only reads it.
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (!l)
            l = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
        return l;
    }();
    return locale;
}

}  // namespace

std::u16string lower_case(std::u16string_view text) {
    std::u16string out(text);
    lower_case_in_place(out);
    return out;
}

void lower_case_in_place(std::u16string& text) {
    const locale_t locale = unicode_locale();
    for (char16_t& unit : text) {
        if (unit < 0x80) {
            if (unit >= u'A' && unit <= u'Z')
                unit = static_cast<char16_t>(unit + (u'a' - u'A'));
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            continue;  // half of a pair: not a letter on its own
        const wint_t lower = towlower_l(static_cast<wint_t>(unit), locale);
        if (lower <= 0xFFFF && !(lower >= 0xD800 && lower <= 0xDFFF))
            unit = static_cast<char16_t>(lower);
    }
}
