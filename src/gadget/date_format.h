// The date gadgets' portable parts: display masks made into the date picker's
// format strings, and date values (seconds since 1970-01-01 00:00:00 on the
// wall clock, no time zone) made from and into calendar fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Units a format may have (the date picker's format buffer holds 500 with its NUL).
inline constexpr std::size_t kDateFormatLimit = 499;

// "%yyyy" → "yyyy", "%yy" → "yy", "%mm" → "MM", "%dd" → "dd", "%hh" → "HH",
// "%ii" → "mm", "%ss" dropped; spaces, commas and points copied; every other
// run of characters copied inside single quotes, a quote doubled. A piece that
// would pass the limit is left out whole, so the format never ends inside quotes.
[[nodiscard]] std::u16string date_mask_to_format(std::u16string_view mask);

struct DateFields {
    std::int32_t year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool operator==(const DateFields&) const = default;
};

// Proleptic Gregorian calendar; fields outside their range are not normalised
// (callers pass what a date control gives).
[[nodiscard]] std::int64_t date_value(const DateFields& fields);
[[nodiscard]] DateFields date_fields(std::int64_t value);
