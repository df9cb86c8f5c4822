// Numbered directory listings: the entries of one folder, one at a time, in
// the platform's order ("." and ".." included where the platform lists them).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/object_id.h"
#include "system/file.h"

inline constexpr int DIRECTORY_ENTRY_FILE = 1;
inline constexpr int DIRECTORY_ENTRY_FOLDER = 2;

// Starts listing the entries of `directory` that match `pattern` ("*.*" when
// empty) under a number or PB_Any. Nonzero on success (for PB_Any the new id);
// a folder without matching entries gives an empty listing; 0 when the folder
// cannot be listed.
[[nodiscard]] std::intptr_t examine_directory(std::intptr_t id,
                                              std::u16string_view directory,
                                              std::u16string_view pattern);

// Moves to the next entry; nonzero while there is one.
[[nodiscard]] int next_directory_entry(std::intptr_t scan);

// The current entry's name without its folder; empty for an unknown id.
[[nodiscard]] std::u16string directory_entry_name(std::intptr_t scan);

// False when the current entry's name is not text the system can hold (on
// POSIX: not valid UTF-8): directory_entry_name is then an approximation that
// leads nowhere. `shown` (when given) gets the name for messages, with every
// byte that is not text written as \xHH.
[[nodiscard]] bool directory_entry_name_exact(std::intptr_t scan, std::u16string* shown = nullptr);

// DIRECTORY_ENTRY_FOLDER or DIRECTORY_ENTRY_FILE; 0 for an unknown id.
[[nodiscard]] int directory_entry_type(std::intptr_t scan);

// What file_facts gives for the current entry's full path, asked relative to
// the open listing where the platform can (a lookup of one name instead of
// the whole path). False when it cannot: ask file_facts then.
[[nodiscard]] bool directory_entry_facts(std::intptr_t scan, FileFacts& facts);

// One entry of a whole-folder listing, valid during the call that gets it.
struct DirectoryEntry {
    // The name without its folder; when `name_exact` is false, the name for
    // messages (see directory_entry_name_exact), which leads nowhere.
    std::u16string_view name;
    bool name_exact;
    int type;  // DIRECTORY_ENTRY_FOLDER or DIRECTORY_ENTRY_FILE
    // As directory_entry_facts: false (facts untouched) means ask file_facts.
    bool facts_known;
    FileFacts facts;
    // The number of what the entry leads to (links followed), as
    // folder_identity gives it without the volume; 0 when the listing cannot
    // tell, as for links on Windows, whose entries describe the link itself.
    std::uint64_t number;
};

// Lists every entry of `directory` matching `pattern` ("*.*" when empty) in
// the order of next_directory_entry, without a numbered listing: no lookup
// and no copy per entry, and any thread may list while others use numbered
// listings. False when the folder cannot be listed, or its listing was cut
// short; last_system_error() then tells why.
bool list_directory(std::u16string_view directory,
                    std::u16string_view pattern,
                    const std::function<void(const DirectoryEntry&)>& visit);

// Ends the listing and frees its number; PB_Any finishes every listing.
void finish_directory(std::intptr_t scan);

// Program end: finishes every listing.
void end_directories();
