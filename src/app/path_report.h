// Paths in messages to the user: shown so that no name can disguise itself or
// its neighbours, and listed under their reasons in boxes that fit a screen.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The path as a message shows it: line breaks as \n and \r, tabs (a wide gap
// that reads as two names; "\t" would read as a folder's name) and other control
// characters (C1 and the line and paragraph separators too, which terminals
// and boxes may act on) and those that reorder text (U+202E and its kind) as <U+XXXX>,
// and, when `limit` is not 0 and the path is longer, its middle left out
// ("…") so that its start and its end (the file's name) stay.
[[nodiscard]] std::u16string shown_path(std::u16string_view path, std::size_t limit = 0);

struct ReportedPath {
    std::u16string path;
    std::u16string reason;
};

// The paths under their reasons: each reason once (with the count when more
// than one path has it), its paths sorted and shortened to `limit` beneath it,
// at most `per_reason` of them, then how many more. Reasons in the order the
// sorted paths first give them.
[[nodiscard]] std::u16string paths_by_reason(std::vector<ReportedPath> items,
                                             std::size_t per_reason,
                                             std::size_t limit);
