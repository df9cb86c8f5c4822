// The text of the program's fatal-error box. Built without the platform's case
// tables: it runs while the process is failing, and the messages are ASCII.
#include "app/fatal_report.h"

std::u16string fatal_error_text(std::u16string_view file, std::int32_t line, std::u16string_view message) {
    std::u16string text(file);
    text += u" [";
    const std::string digits = std::to_string(line);
    text.append(digits.begin(), digits.end());
    text += u"]\r\n";
    for (char16_t unit : message)
        text += (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
    text += u"\r\n";
    text.append(64, u' ');
    return text;
}
