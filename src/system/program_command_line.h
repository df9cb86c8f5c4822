// How run_program turns its texts into a command line and a working directory.
#pragma once

#include <string>
#include <string_view>

// The program in double quotes (kept as it is when it already starts with
// one), then a blank and the parameters when there are any.
[[nodiscard]] std::u16string program_command_line(std::u16string_view program, std::u16string_view parameters);

// The directory for opening through the shell: the given one, else the
// program's text up to and including its last backslash, else empty (none).
[[nodiscard]] std::u16string shell_directory(std::u16string_view program, std::u16string_view directory);
