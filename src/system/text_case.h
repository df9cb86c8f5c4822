// Letter-case conversion of UTF-16 text the way the platform does it: every
// letter it knows, one code unit for one (the length never changes).
#pragma once

#include <string>
#include <string_view>

// Lower-cases each code unit the platform has a lower-case form for; surrogate
// halves and units without a one-unit lower-case form are kept.
[[nodiscard]] std::u16string lower_case(std::u16string_view text);
// The same on the text itself, without a copy.
void lower_case_in_place(std::u16string& text);
