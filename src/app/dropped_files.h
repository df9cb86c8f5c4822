// The dropped-file collection: what the user drops becomes entries of the
// file map, and the window's file list follows the map. GUI thread only, and
// only while no generation runs (the busy flag).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_map.h"

class FileListView;

// Why a dropped path, or a file or folder inside a dropped folder, added nothing.
enum class SkipReason : std::int32_t {
    NotFound = 1,      // nothing there, or not a plain file or folder
    TooLarge = 2,      // 2 GiB or more: the size field cannot hold it
    Unlisted = 3,      // a folder that cannot be listed
    AccessDenied = 4,  // a folder on its path cannot be searched
    NotPlainFile = 5,  // a device, a pipe or a socket
    BadName = 6,       // a name that is not text (not UTF-8 on POSIX)
    LinkLoop = 7,      // links that lead round in a circle
    IsOutput = 8,      // the file the text is written to (the command line's)
};

struct SkippedPath {
    std::u16string path;
    SkipReason reason;
    unsigned long error = 0;  // the system's error number where it says more, 0 otherwise
};

// "no such file or folder", "2 GiB or larger, too large to embed" …, for messages.
[[nodiscard]] std::u16string_view skip_reason_text(SkipReason reason);
// The same, with the system's reason when it was known.
[[nodiscard]] std::u16string skipped_path_text(const SkippedPath& skip);

struct DropResult {
    std::size_t files = 0;  // files stored (an entry updated again counts again)
    std::vector<SkippedPath> skipped;
    // Files that gave way to a later file of the same name, in the order they
    // did; the map holds the one that stayed.
    std::vector<std::u16string> displaced;
};

// N separators give N + 1 pieces; an empty text gives one empty piece. An
// empty separator gives the whole text.
[[nodiscard]] std::vector<std::u16string> split_text(std::u16string_view text, std::u16string_view separator);

// One drop: the paths in order; files go to the map directly, folders through
// a folder scan, so that among same-named files the one met last wins. Then the
// list (when given) is rebuilt. Paths that add nothing are reported, not shown.
// `is_output`, when given, names a file never to take (the text's own output):
// it is reported as IsOutput before any same-named file could give way to it.
using OutputTest = std::function<bool(std::u16string_view path, std::int64_t size)>;
DropResult collect_dropped_paths(FileMap& map,
                                 const std::vector<std::u16string>& paths,
                                 FileListView* list,
                                 const OutputTest& is_output = {});

// The window's drop: `dropped_text` holds the full paths joined by LF.
DropResult collect_dropped_files(FileMap& map, std::u16string_view dropped_text, FileListView* list);

// Stores one file under its key: a new entry, or the same-named entry taking
// the new path, size and date. Its cached rows are kept only when path, size
// and date are all unchanged.
void add_file_entry(FileMap& map, std::u16string_view path, std::int32_t size);

// Every entry's path in display order: ascending by UTF-16 code unit. The
// pointers lead into the map and hold until it changes.
[[nodiscard]] std::vector<const std::u16string*> sorted_entry_paths(FileMap& map);

// Rebuilds the list from the map with drawing suspended, shown from the same
// row as before; the selection is lost.
void refresh_file_list(FileMap& map, FileListView& list);

// Removes the entries of the selected items (nothing at all when there is no
// current item), then rebuilds the list with the row now at the first removed
// one's position selected.
void remove_selected_entries(FileMap& map, FileListView& list);

// Empties the map and the list.
void remove_all_entries(FileMap& map, FileListView& list);
