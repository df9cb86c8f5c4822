// Entries a generation had to leave out of its text, and why: both generators
// report them, so that no file goes missing from the text unannounced.
#pragma once

#include <string>
#include <vector>

#include "app/file_map.h"

enum class LeftOutReason {
    Gone,              // nothing (or a folder) at its path any more
    TooLarge,          // 2 GiB or more
    CannotOpen,        // it could not be opened for reading (error: why)
    ReadFailed,        // a read failed before its end
    ChangedWhileRead,  // written to while it was read: its rows would mix old and new bytes
};

struct LeftOut {
    std::u16string path;
    LeftOutReason reason;
    unsigned long error = 0;  // the system's error number for CannotOpen, 0 when unknown
};

// The entries whose size says they cannot be in the text (gone, a folder, too
// large), in the map's order.
void add_unusable_entries(FileMap& map, std::vector<LeftOut>& left_out);

// Why a file that would not open did not: gone since it was last seen, or the
// system's reason (read at once after the failed open).
[[nodiscard]] LeftOut not_opened(const std::u16string& path, bool check_gone);

// A file that would not open for want of memory is no fault of the file: the
// generation fails as out of memory instead of leaving the file out.
[[nodiscard]] bool for_want_of_memory(const LeftOut& left);

// "no longer there", "cannot be opened (<the system's words>)" …, for messages.
[[nodiscard]] std::u16string left_out_text(const LeftOut& left);
