// The files that weigh most in a text that did not fit: named when a Copy ran
// out of memory, so that the user knows what to remove.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/file_map.h"

// "12 bytes", "3.5 KiB", "1.9 GiB": one decimal from KiB on, a no-break
// space before the unit.
[[nodiscard]] std::u16string size_text(std::int64_t bytes);

// The `count` largest files of the map (sizes as last seen; gone and too
// large entries are not files to weigh), largest first, one per line:
// "    <path shown at most `limit` long> (<size>)". Empty when there are none.
[[nodiscard]] std::u16string largest_files_lines(FileMap& map, std::size_t count, std::size_t limit);
