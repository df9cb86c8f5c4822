// The data a drop event carries, owned by the event queue, and the dropped-file
// list read from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct DropEventData {
    std::uint32_t format;        // the accepted format, or DROP_FORMAT_PRIVATE
    std::uint32_t private_type;  // 0 for standard formats
    std::uint32_t action;        // the action chosen for the drop
    std::int32_t x, y;           // drop point in the target window's client coordinates
    void* data;                  // copy of the dropped block; null for a private drop
    std::size_t size;            // bytes of data
};

// A new record with a copy of size bytes of block (none when block is null);
// null when memory runs out. Queue it with free_drop_event_data as free routine.
[[nodiscard]] DropEventData* make_drop_event_data(std::uint32_t format,
                                                  std::uint32_t private_type,
                                                  std::uint32_t action,
                                                  std::int32_t x,
                                                  std::int32_t y,
                                                  const void* block,
                                                  std::size_t size);
// Frees the copied block, then the record.
void free_drop_event_data(void* data);

// The current event's drop data; null unless the current event carries a
// record made by make_drop_event_data that is still alive.
[[nodiscard]] const DropEventData* current_drop_event_data();

// The current event's dropped paths joined by LF, without a trailing one;
// empty unless it is a drop of files.
[[nodiscard]] std::u16string dropped_files_text();

// The complete names of a dropped-file block (a 20-byte header whose first
// word is the names' offset and whose last says whether they are UTF-16,
// then NUL-terminated names ending with an empty one). Nothing is read past
// size: a name cut off by the end of the block is left out.
[[nodiscard]] std::vector<std::u16string> dropped_file_names(const void* block, std::size_t size);

// Names in the ANSI code page: the platform's conversion (Latin-1 natively).
[[nodiscard]] std::u16string drop_ansi_to_utf16(std::string_view text);
