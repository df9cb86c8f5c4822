// What the whole-text generator and the streamed one share: the fixed pieces
// of the text, the refresh of sizes and dates, the order of the entries, each
// entry's lines before its rows, and progress in bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/file_map.h"
#include "app/left_out.h"
#include "system/file.h"

class ProgressSink;

namespace section_parts {

inline constexpr std::int32_t kValuesPerLine = 512;
inline constexpr std::u16string_view kBegin = u"DataSection\r\n\r\n";
inline constexpr std::u16string_view kEnd = u"EndDataSection\r\n";
inline constexpr std::u16string_view kEntryEnd = u"\r\n\r\n";
// The rows of an empty file: one zero value, so its label exists in the text.
inline constexpr std::u16string_view kEmptyRows = u"$0";

// Sizes and dates as they are now; a change drops the cached rows. Returns
// the total of the sizes.
std::int64_t refresh(FileMap& map);

// The total of the sizes as they stand.
[[nodiscard]] std::int64_t total_size(FileMap& map);

// The order of std::u16string's operator< (code units, a prefix first).
[[nodiscard]] bool key_less(const std::u16string& a, const std::u16string& b);

struct Emitted {
    const std::u16string* key;
    FileEntry* entry;
};

// The entries that can be in the text (size 0 or more), in ascending key
// order; the others lose their cached rows.
[[nodiscard]] std::vector<Emitted> entries_in_key_order(FileMap& map);

// Labels unique in the text, letter case ignored as assemblers ignore it. A
// file's label is made from its name (make_label), but names that differ only
// in other characters give the same one (a-b.bin and a_b.bin, or two names of
// another script and the same length). Then the later file in key order gets
// "_2", "_3" …, skipping every label a name gives, so that the text still
// assembles; files whose labels are distinct keep them.
class Labels {
public:
    explicit Labels(const std::vector<Emitted>& emitted);

    // The label of the next entry written, taken for it.
    [[nodiscard]] std::u16string take(const FileEntry& entry);

private:
    bool all_distinct_ = true;
    // Only when two names give one label, all lower-case:
    std::unordered_set<std::u16string> named_;             // every name's label
    std::unordered_set<std::u16string> taken_;             // labels written
    std::unordered_map<std::u16string, int> next_suffix_;  // per name's label
};

// The entry's lines up to its rows: size constant, label, "Data.q ".
[[nodiscard]] std::u16string entry_head(const FileEntry& entry, std::u16string_view label);

// An entry's file opened for its rows (none for an empty entry), with its
// length and stamp at the open; or why it is left out of the text.
struct EntryFile {
    OpenFile file;
    std::int64_t length = 0;
    FileStamp before;
    std::optional<LeftOut> left_out;
};

// Opens the entry's file with open_file_for_reading's `flags`. A size other
// than the one last seen becomes the entry's, with the date read again, so
// that the size line describes the rows; a file too large is marked so.
// `check_gone` as for not_opened.
[[nodiscard]] EntryFile open_entry_file(FileEntry& entry, int flags, bool check_gone);

// Byte counts to the sink, halved together until they fit 32 bits.
class Progress {
public:
    Progress(ProgressSink* sink, std::int64_t total);
    // A value equal to the last one is not passed on again.
    void set(std::int64_t value) noexcept;

private:
    ProgressSink* sink_;
    int shift_ = 0;
    std::int64_t last_ = 0;
};

}  // namespace section_parts
