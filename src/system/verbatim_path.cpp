#include "system/verbatim_path.h"

namespace {

constexpr std::size_t kShortLimit = 248;  // a folder's limit without the prefix (MAX_PATH - 12)

bool is_drive_path(std::u16string_view path) {
    const char16_t d = path.size() >= 3 ? path[0] : u'\0';
    return ((d >= u'A' && d <= u'Z') || (d >= u'a' && d <= u'z')) && path[1] == u':' && path[2] == u'\\';
}

bool is_share_path(std::u16string_view path) {
    // Not "\\?\" or "\\.\", which are already the platform's own.
    return path.size() > 2 && path[0] == u'\\' && path[1] == u'\\' && path[2] != u'?' && path[2] != u'.';
}

bool same_letters(std::u16string_view name, std::u16string_view upper) {
    if (name.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i] >= u'a' && name[i] <= u'z' ? static_cast<char16_t>(name[i] - u'a' + u'A') : name[i];
        if (c != upper[i])
            return false;
    }
    return true;
}

}  // namespace

bool is_device_name(std::u16string_view name) {
    std::u16string_view base = name.substr(0, name.find_first_of(u".:"));
    while (!base.empty() && base.back() == u' ')
        base.remove_suffix(1);
    for (const std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
        if (same_letters(base, device))
            return true;
    }
    if (base.size() != 4 || !(same_letters(base.substr(0, 3), u"COM") || same_letters(base.substr(0, 3), u"LPT")))
        return false;
    const char16_t digit = base[3];
    return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' || digit == u'\u00B3';
}

std::u16string verbatim_path(std::u16string_view path) {
    const bool drive = is_drive_path(path);
    if ((!drive && !is_share_path(path)) || path.find(u'/') != std::u16string_view::npos)
        return std::u16string(path);
    // The names after the root: "C:\" or "\\".
    std::u16string_view rest = path.substr(drive ? 3 : 2);
    bool needed = path.size() >= kShortLimit;
    while (!rest.empty()) {
        const std::size_t end = rest.find(u'\\');
        const std::u16string_view name = rest.substr(0, end);
        if (end == std::u16string_view::npos && name.empty())
            break;
        if (name.empty() && end != std::u16string_view::npos && end + 1 == rest.size())
            break;  // one separator at the end, as folder paths have
        if (name.empty() || name == u"." || name == u"..")
            return std::u16string(path);
        if (name.back() == u'.' || name.back() == u' ' || is_device_name(name))
            needed = true;
        if (end == std::u16string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    if (!needed)
        return std::u16string(path);
    if (drive)
        return u"\\\\?\\" + std::u16string(path);
    return u"\\\\?\\UNC\\" + std::u16string(path.substr(2));
}
