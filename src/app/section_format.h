// The small formats inside the data-section text: labels, dates, trimming.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The file name as a label: every unit that is not an ASCII letter, digit or
// "_" becomes "_" (a character above U+FFFF becomes two); the length is kept.
[[nodiscard]] std::u16string make_label(std::u16string_view file_name);

// Removes every trailing occurrence of the suffix (letter case ignored); an
// empty suffix removes nothing.
[[nodiscard]] std::u16string trim_trailing(std::u16string_view text, std::u16string_view suffix);

// A date value (seconds since 1970 in local time, no zone shift applied) as
// "yyyy/mm/dd hh:ii:ss"; negative values as "0000/00/00 00:00:00".
[[nodiscard]] std::u16string format_date(std::int32_t date);
