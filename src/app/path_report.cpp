// Paths in messages to the user.
#include "app/path_report.h"

#include <algorithm>
#include <string>

namespace {

bool reorders_text(char16_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void append_hex(std::u16string& text, char16_t c) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    text += u"<U+";
    for (int shift = 12; shift >= 0; shift -= 4)
        text += kDigits[(c >> shift) & 0xF];
    text += u'>';
}

bool is_low_surrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

std::u16string decimal(std::size_t n) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n != 0);
    return text;
}

}  // namespace

std::u16string shown_path(std::u16string_view path, std::size_t limit) {
    std::u16string cut(path);
    if (limit > 1 && path.size() > limit) {
        // A third for the start, the rest for the end, where the name is;
        // never between the halves of a character.
        std::size_t head = (limit - 1) / 3;
        std::size_t tail = limit - 1 - head;
        while (head > 0 && is_low_surrogate(path[head]))
            --head;
        std::size_t from = path.size() - tail;
        while (from < path.size() && is_low_surrogate(path[from]))
            ++from;
        cut = std::u16string(path.substr(0, head)) + u"…" + std::u16string(path.substr(from));
    }
    std::u16string shown;
    shown.reserve(cut.size());
    for (char16_t c : cut) {
        if (c == u'\n')
            shown += u"\\n";
        else if (c == u'\r')
            shown += u"\\r";
        else if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || reorders_text(c))
            append_hex(shown, c);
        else
            shown += c;
    }
    return shown;
}

std::u16string paths_by_reason(std::vector<ReportedPath> items, std::size_t per_reason, std::size_t limit) {
    std::stable_sort(items.begin(), items.end(),
                     [](const ReportedPath& a, const ReportedPath& b) { return a.path < b.path; });
    std::vector<std::u16string> reasons;
    for (const ReportedPath& item : items)
        if (std::find(reasons.begin(), reasons.end(), item.reason) == reasons.end())
            reasons.push_back(item.reason);
    std::u16string text;
    for (const std::u16string& reason : reasons) {
        const auto count = static_cast<std::size_t>(
            std::count_if(items.begin(), items.end(), [&](const ReportedPath& i) { return i.reason == reason; }));
        text += u"\r\n" + reason + (count > 1 ? u" (" + decimal(count) + u")" : u"") + u":";
        std::size_t listed = 0;
        for (const ReportedPath& item : items) {
            if (item.reason != reason || listed == per_reason)
                continue;
            text += u"\r\n    " + shown_path(item.path, limit);
            ++listed;
        }
        if (count > listed)
            text += u"\r\n    … and " + decimal(count - listed) + u" more";
    }
    return text;
}
