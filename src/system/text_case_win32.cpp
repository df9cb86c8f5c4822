// Lower-casing through the platform's own tables (CharLowerBuffW).
#include "system/text_case.h"

#include "system/win32.h"

std::u16string lower_case(std::u16string_view text) {
    std::u16string out(text);
    lower_case_in_place(out);
    return out;
}

void lower_case_in_place(std::u16string& text) {
    if (!text.empty())
        CharLowerBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(text.size()));
}
