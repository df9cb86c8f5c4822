// Labels, dates and trimming for the data-section text.
#include "app/section_format.h"

#include "system/text_case.h"

std::u16string make_label(std::u16string_view file_name) {
    std::u16string label(file_name);
    for (char16_t& c : label) {
        const bool keep = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
        if (!keep)
            c = u'_';
    }
    return label;
}

std::u16string trim_trailing(std::u16string_view text, std::u16string_view suffix) {
    // An empty suffix "occurs" at every end: cutting it would never stop.
    if (suffix.empty())
        return std::u16string(text);
    const std::u16string lower_suffix = lower_case(suffix);
    while (text.size() >= suffix.size() && lower_case(text.substr(text.size() - suffix.size())) == lower_suffix) {
        text.remove_suffix(suffix.size());
    }
    return std::u16string(text);
}

std::u16string format_date(std::int32_t date) {
    if (date < 0)
        return u"0000/00/00 00:00:00";
    // Civil date from a day count (proleptic Gregorian, days since 1970-01-01).
    const std::int64_t days = date / 86400;
    const std::int32_t seconds = date % 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = z / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));

    char16_t out[19];
    auto put = [&out](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            out[at + i] = static_cast<char16_t>(u'0' + value % 10);
    };
    put(0, year, 4);
    out[4] = u'/';
    put(5, month, 2);
    out[7] = u'/';
    put(8, day, 2);
    out[10] = u' ';
    put(11, seconds / 3600, 2);
    out[13] = u':';
    put(14, seconds / 60 % 60, 2);
    out[16] = u':';
    put(17, seconds % 60, 2);
    return std::u16string(out, 19);
}
