// The data-section generator: turns the file map into one source text with a
// size constant, a label and Data.q rows per file, and puts it on the clipboard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/file_map.h"
#include "app/left_out.h"
#include "app/text_slice.h"

class ProgressSink;

enum class GenerationStatus : std::int32_t {
    Ok = 0,
    OutOfMemory = 1,       // the text, or the clipboard's copy of it, could not be made; the clipboard is unchanged
    ClipboardRefused = 2,  // built, but the clipboard could not be set; it is unchanged
    NoClipboard = 3,       // this build has no clipboard (native Linux)
    ClipboardEmptied = 4,  // built; the clipboard was emptied but did not take it
    NothingCopied = 5,     // no file could be read: the clipboard is unchanged
    ClipboardEmptiedNoMemory = 6,  // built; the clipboard was emptied, then had no memory for it
};

struct DataSection {
    GenerationStatus status = GenerationStatus::Ok;
    TextSlice text;                 // the whole text, unless memory ran out (shared with the cached rows)
    std::size_t entries = 0;        // entries in the text
    std::vector<LeftOut> left_out;  // entries the text is without, in the order met
};

// Builds the text from `map`: refreshes every entry's size and date, converts
// the files whose cached rows are missing (and keeps the rows in the map) and
// assembles the entries in ascending key order. Reports progress to
// `progress` when given. Files that cannot be read are left out (and named in
// left_out); running out of memory gives OutOfMemory with every cached row
// still valid. Does not touch the busy flag.
[[nodiscard]] DataSection build_data_section(FileMap& map, ProgressSink* progress) noexcept;

// Where generate_data_section reports progress (the window's progress bar);
// null for nowhere. Set it before starting a generation.
void set_generation_progress(ProgressSink* progress) noexcept;

// The worker thread's entry: builds the text from file_map(), puts it on the
// clipboard when copy_to_clipboard is nonzero, clears the busy flag as its last
// step and returns how it went, with the text when it could be built. When
// there were files but none could be read, the clipboard is left alone
// (NothingCopied): a text without any of them is no copy of them. Never throws.
[[nodiscard]] DataSection generate_data_section(std::int32_t copy_to_clipboard) noexcept;
