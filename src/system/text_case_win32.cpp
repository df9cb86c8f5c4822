// Lower-casing through the platform's own tables (CharLowerBuffW).
#include "system/text_case.h"

#include "system/win32.h"

std::u16string lower_case(std::u16string_view text) {
    std::u16string out(text);
    if (!out.empty())
        CharLowerBuffW(reinterpret_cast<wchar_t*>(out.data()), static_cast<DWORD>(out.size()));
    return out;
}
