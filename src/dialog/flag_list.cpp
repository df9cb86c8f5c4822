// Parsing FLAGS lists and resolving their names.
#include "dialog/flag_list.h"

#include "dialog/flag_tables.h"
#include "dialog/runtime_names.h"

namespace {

bool is_blank(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

std::int32_t resolve_flag_name(ElementKind kind,
                               std::u16string_view name,
                               DialogErrorSink& errors,
                               std::u16string_view element_name) noexcept {
    if (const auto value = find_flag(kind, name))
        return static_cast<std::int32_t>(*value);
    if (is_runtime_name(name))
        return runtime_value(name);
    record_dialog_error(errors, kErrorFlagNotSupported, {name, element_name});
    return -1;
}

std::int32_t parse_flag_list(std::u16string_view text,
                             ElementKind kind,
                             DialogErrorSink& errors,
                             std::u16string_view element_name) noexcept {
    std::int32_t result = 0;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && is_blank(text[i]))
            ++i;
        // Anything but a '#'-name ends the list: plain numbers and bare names
        // are not flags and are ignored without an error.
        if (i >= text.size() || text[i] != u'#')
            break;
        const std::size_t start = i + 1;
        const std::size_t bar = text.find(u'|', start);
        std::size_t end = bar == std::u16string_view::npos ? text.size() : bar;
        while (end > start && is_blank(text[end - 1]))
            --end;
        const std::u16string_view name = text.substr(start, end - start);
        if (name.size() >= kMaxFlagNameLength)
            break;
        const std::int32_t value = resolve_flag_name(kind, name, errors, element_name);
        if (value != -1)
            result |= value;
        if (bar == std::u16string_view::npos)
            break;
        i = bar + 1;
    }
    return result;
}
