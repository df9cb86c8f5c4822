// The FLAGS attribute: '#'-names joined by '|', resolved through the element
// kind's flag table and then the runtime name registry.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialog/dialog_errors.h"
#include "dialog/element_kind.h"

// Names in a FLAGS list this long or longer end the list without an error.
inline constexpr std::size_t kMaxFlagNameLength = 128;

// The value of one name (without its '#'): the kind's table first, then a
// registered runtime name as written. Otherwise records the flag error with
// the name and element_name (the element as written in the definition) and
// returns -1.
[[nodiscard]] std::int32_t resolve_flag_name(ElementKind kind,
                                             std::u16string_view name,
                                             DialogErrorSink& errors,
                                             std::u16string_view element_name) noexcept;

// The OR of every resolved name of the list "#a | #b ...". The list ends
// quietly at the first item that does not start with '#' and at a name of
// kMaxFlagNameLength characters or more; names resolving to -1 add nothing.
[[nodiscard]] std::int32_t parse_flag_list(std::u16string_view text,
                                           ElementKind kind,
                                           DialogErrorSink& errors,
                                           std::u16string_view element_name) noexcept;
