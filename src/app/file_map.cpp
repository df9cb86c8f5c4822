// The process-wide file map and the rules for its keys and sizes.
#include "app/file_map.h"

#include "system/file.h"
#include "system/text_case.h"

// Made on first use and never destroyed: a generation's worker thread may
// still walk it while the window closes and the program ends.
FileMap& file_map() {
    static auto* const map = new FileMap;
    return *map;
}

std::u16string file_map_key(std::u16string_view path) {
    std::u16string key(path_name(path));
    lower_case_in_place(key);  // one allocation a key: a drop makes one per file
    return key;
}

std::int32_t entry_size_from_length(std::int64_t length) {
    if (length < 0)
        return length == -2 ? FILE_ENTRY_FOLDER : FILE_ENTRY_MISSING;
    // Only a size that fits the field is honest: the low 32 bits of a larger
    // length would name a wrong size, or a negative one.
    if (length > INT32_MAX)
        return FILE_ENTRY_TOO_LARGE;
    return static_cast<std::int32_t>(length);
}
