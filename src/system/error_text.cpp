// What both platforms' error texts share.
#include "system/error_text.h"

std::u16string system_reason(unsigned long error) {
    std::u16string text = system_error_text(error);
    while (!text.empty() && (text.back() == u'.' || text.back() == u' '))
        text.pop_back();
    return text;
}

std::u16string with_system_reason(std::u16string_view what, unsigned long error) {
    std::u16string text(what);
    if (error != 0)
        text += u" (" + system_reason(error) + u")";
    return text + u".";
}
