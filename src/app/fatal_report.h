// The text of the program's fatal-error box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::u16string_view kFatalErrorCaption = u"Critical shit";

// file + " [" + line + "]\r\n" + the message in upper case + "\r\n" + 64 blanks.
[[nodiscard]] std::u16string fatal_error_text(std::u16string_view file, std::int32_t line, std::u16string_view message);
