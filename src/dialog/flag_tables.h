// Built-in flag names of the FLAGS attribute, one constant table per element kind.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "dialog/element_kind.h"

struct FlagName {
    std::u16string_view name;  // without the leading '#'
    std::uint32_t value;
};

// The kind's rows in search order; empty for kinds without a table.
[[nodiscard]] std::span<const FlagName> flag_table(ElementKind kind);

// The value of the first row whose name equals `name` ignoring ASCII case.
[[nodiscard]] std::optional<std::uint32_t> find_flag(ElementKind kind, std::u16string_view name);
