// Writing a whole file so that readers see either the old content or the
// new, never a part: the bytes go to a temporary file beside it, which then
// takes the file's place.
#pragma once

#include <string>
#include <string_view>

// Creates or replaces the file at `path`. On failure the old file (if any) is
// untouched, no temporary file is left and `problem` says what went wrong.
[[nodiscard]] bool replace_file_contents(std::u16string_view path, std::string_view bytes, std::u16string& problem);
