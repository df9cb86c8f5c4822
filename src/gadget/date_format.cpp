// Date masks and date values of the date gadgets.
#include "gadget/date_format.h"

namespace {

struct MaskCode {
    std::u16string_view code;
    std::u16string_view format;
};
// Longer codes first: "%yyyy" before "%yy".
constexpr MaskCode kCodes[] = {
    {u"%yyyy", u"yyyy"}, {u"%yy", u"yy"}, {u"%mm", u"MM"}, {u"%dd", u"dd"},
    {u"%hh", u"HH"},     {u"%ii", u"mm"}, {u"%ss", u""},
};

bool copied_plain(char16_t c) {
    return c == u' ' || c == u',' || c == u'.';
}

const MaskCode* code_at(std::u16string_view rest) {
    for (const MaskCode& code : kCodes)
        if (rest.substr(0, code.code.size()) == code.code)
            return &code;
    return nullptr;
}

}  // namespace

std::u16string date_mask_to_format(std::u16string_view mask) {
    std::u16string out;
    const auto append = [&out](std::u16string_view piece) {
        if (out.size() + piece.size() > kDateFormatLimit)
            return false;
        out += piece;
        return true;
    };
    std::size_t i = 0;
    while (i < mask.size()) {
        if (const MaskCode* code = code_at(mask.substr(i))) {
            if (!append(code->format))
                break;
            i += code->code.size();
        } else if (copied_plain(mask[i])) {
            if (!append(mask.substr(i, 1)))
                break;
            ++i;
        } else {
            std::u16string quoted = u"'";
            for (; i < mask.size() && !copied_plain(mask[i]) && !code_at(mask.substr(i)); ++i)
                quoted += mask[i] == u'\'' ? std::u16string_view(u"''") : mask.substr(i, 1);
            quoted += u'\'';
            if (!append(quoted))
                break;
        }
    }
    return out;
}

namespace {

// Days from 1970-01-01 to a civil date (H. Hinnant's algorithm).
std::int64_t days_from_civil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

std::int64_t date_value(const DateFields& f) {
    return days_from_civil(f.year, f.month, f.day) * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
}

DateFields date_fields(std::int64_t value) {
    std::int64_t days = value >= 0 ? value / 86400 : -((-value + 86399) / 86400);
    std::int64_t seconds = value - days * 86400;
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp + (mp < 10 ? 3 : -9);
    const std::int64_t y = yoe + era * 400 + (m <= 2);
    DateFields f;
    f.year = static_cast<std::int32_t>(y);
    f.month = static_cast<std::int32_t>(m);
    f.day = static_cast<std::int32_t>(d);
    f.hour = static_cast<std::int32_t>(seconds / 3600);
    f.minute = static_cast<std::int32_t>(seconds / 60 % 60);
    f.second = static_cast<std::int32_t>(seconds % 60);
    return f;
}
