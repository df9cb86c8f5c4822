// The file map: every file the user has dropped, under the lower-cased file
// name of its path, with the data rows cached from the last generation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/chained_map.h"
#include "app/text_slice.h"

// Sizes that are not byte counts.
inline constexpr std::int32_t FILE_ENTRY_MISSING = -1;    // nothing at the path
inline constexpr std::int32_t FILE_ENTRY_FOLDER = -2;     // the path names a folder
inline constexpr std::int32_t FILE_ENTRY_TOO_LARGE = -3;  // 2 GiB or more: cannot be embedded

struct FileEntry {
    std::u16string path;        // as dropped or found in a dropped folder
    std::int32_t size = 0;      // bytes as last seen, or one of the FILE_ENTRY_ codes
    std::int32_t date = 0;      // file_date(path, FILE_DATE_MODIFIED) as last seen
    std::int64_t modified = 0;  // FileFacts::modified as last seen
    // Cached rows (what follows the entry's first "Data.q "), a piece of the
    // text of the generation that made them; empty: none.
    TextSlice text;
};

using FileMap = ChainedMap<FileEntry>;

// The process-wide map; the program owns it for the whole run. Only one thread
// uses it at a time: the busy flag keeps the window away while a generation runs.
[[nodiscard]] FileMap& file_map();

// The key of a path: its file-name part, lower-cased as the platform does.
[[nodiscard]] std::u16string file_map_key(std::u16string_view path);

// An entry's size for a file_size() result: byte counts of 2 GiB and more,
// which the 32-bit field cannot hold, become FILE_ENTRY_TOO_LARGE.
[[nodiscard]] std::int32_t entry_size_from_length(std::int64_t length);
