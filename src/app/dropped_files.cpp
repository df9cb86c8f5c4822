// The dropped-file collection and the two removal commands.
#include "app/dropped_files.h"

#include <algorithm>

#include "app/file_list_view.h"
#include "app/folder_scan.h"
#include "system/directory.h"
#include "system/error_text.h"
#include "system/file.h"

namespace {

// A file path with trailing separators names the file all the same, but its
// file-name part (the key, the label) would be empty: drop them.
std::u16string_view without_trailing_separators(std::u16string_view path) {
    while (!path.empty() && is_path_separator(path.back()))
        path.remove_suffix(1);
    return path;
}

// Takes the path by value: a folder's walk hands over each path it built.
// Another file of the same name already there goes to `displaced`.
void store_entry(FileMap& map,
                 std::u16string path,
                 std::int32_t size,
                 const FileFacts& facts,
                 std::vector<std::u16string>* displaced) {
    FileEntry& entry = map.insert(file_map_key(path));
    if (entry.path != path || entry.size != size || entry.date != facts.date || entry.modified != facts.modified)
        entry.text.clear();
    if (displaced && !entry.path.empty() && entry.path != path)
        displaced->push_back(std::move(entry.path));
    entry.path = std::move(path);
    entry.size = size;
    entry.date = facts.date;
    entry.modified = facts.modified;
}

// Stores a file found by a drop, or reports why it cannot be stored. The
// date is asked with the size when the path has no trailing separators.
void add_found_file(FileMap& map,
                    std::u16string path,
                    const FileFacts& facts,
                    const OutputTest& is_output,
                    DropResult& result) {
    if (is_output && is_output(path, facts.size)) {
        result.skipped.push_back({std::move(path), SkipReason::IsOutput});
        return;
    }
    const std::int32_t size = entry_size_from_length(facts.size);
    if (size == FILE_ENTRY_TOO_LARGE) {
        result.skipped.push_back({std::move(path), SkipReason::TooLarge});
        return;
    }
    const std::size_t kept = without_trailing_separators(path).size();
    FileFacts stored = facts;
    if (kept != path.size()) {
        path.resize(kept);
        const FileFacts exact = file_facts(path);
        stored.date = exact.date;
        stored.modified = exact.modified;
    }
    store_entry(map, std::move(path), size, stored, &result.displaced);
    ++result.files;
}

// Why nothing usable is at the path, where file_facts found no plain file.
SkipReason unusable(std::u16string_view path) {
    switch (path_problem(path)) {
        case PathProblem::AccessDenied:
            return SkipReason::AccessDenied;
        case PathProblem::NotPlainFile:
            return SkipReason::NotPlainFile;
        case PathProblem::LinkLoop:
            return SkipReason::LinkLoop;
        default:
            return SkipReason::NotFound;
    }
}

void collect_folder(FileMap& map,
                    const std::u16string& folder,
                    FolderScanMap& scan,
                    const OutputTest& is_output,
                    DropResult& result) {
    FolderScanResult found = scan_folder(folder, scan);
    for (UnlistedFolder& unlisted : found.unlisted)
        result.skipped.push_back({std::move(unlisted.path), SkipReason::Unlisted, unlisted.error});
    for (std::u16string& unnamed : found.unnamed)
        result.skipped.push_back({std::move(unnamed), SkipReason::BadName});
    for (std::u16string& shadowed : found.shadowed)
        result.displaced.push_back(std::move(shadowed));
    // Walk order, not listing order: it decides the winner among same-named
    // files of the tree.
    scan.walk([&](const std::u16string&, ScannedFile& file) {
        const FileFacts facts = file.facts_known ? file.facts : file_facts(file.path);
        const std::int32_t size = entry_size_from_length(facts.size);
        if (size >= 0 || size == FILE_ENTRY_TOO_LARGE) {
            add_found_file(map, std::move(file.path), facts, is_output, result);  // the scan is done with it
        } else {
            const SkipReason reason = unusable(file.path);
            result.skipped.push_back({std::move(file.path), reason});
        }
    });
}

}  // namespace

std::u16string_view skip_reason_text(SkipReason reason) {
    switch (reason) {
        case SkipReason::NotFound:
            return u"no such file or folder";
        case SkipReason::AccessDenied:
            return u"a folder on its path cannot be searched (permission denied)";
        case SkipReason::NotPlainFile:
            return u"not a plain file (a device, pipe or socket)";
        case SkipReason::BadName:
            return u"its name is not valid UTF-8, so it cannot be named";
        case SkipReason::TooLarge:
            return u"2 GiB or larger, too large to embed";
        case SkipReason::Unlisted:
            return u"folder cannot be listed";
        case SkipReason::LinkLoop:
            return u"its links lead round in a circle";
        case SkipReason::IsOutput:
            return u"it is the output";
    }
    return u"not usable";
}

std::u16string skipped_path_text(const SkippedPath& skip) {
    std::u16string why(skip_reason_text(skip.reason));
    if (skip.error != 0)
        why += u" (" + system_reason(skip.error) + u")";
    return why;
}

std::vector<std::u16string> split_text(std::u16string_view text, std::u16string_view separator) {
    std::vector<std::u16string> pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    for (;;) {
        const std::size_t at = text.find(separator);
        if (at == std::u16string_view::npos)
            break;
        pieces.emplace_back(text.substr(0, at));
        text.remove_prefix(at + separator.size());
    }
    pieces.emplace_back(text);
    return pieces;
}

DropResult collect_dropped_paths(FileMap& map,
                                 const std::vector<std::u16string>& paths,
                                 FileListView* list,
                                 const OutputTest& is_output) {
    DropResult result;
    FolderScanMap scan;
    for (const std::u16string& path : paths) {
        const FileFacts facts = file_facts(path);
        if (facts.size == -2) {
            collect_folder(map, path, scan, is_output, result);
            continue;
        }
        const std::int32_t size = entry_size_from_length(facts.size);
        if (size >= 0 || size == FILE_ENTRY_TOO_LARGE) {
            add_found_file(map, path, facts, is_output, result);
        } else {
            result.skipped.push_back({path, path.empty() ? SkipReason::NotFound : unusable(path)});
        }
    }
    if (list)
        refresh_file_list(map, *list);
    return result;
}

DropResult collect_dropped_files(FileMap& map, std::u16string_view dropped_text, FileListView* list) {
    return collect_dropped_paths(map, split_text(dropped_text, u"\n"), list);
}

void add_file_entry(FileMap& map, std::u16string_view path, std::int32_t size) {
    store_entry(map, std::u16string(path), size, file_facts(path), nullptr);
}

std::vector<const std::u16string*> sorted_entry_paths(FileMap& map) {
    std::vector<const std::u16string*> paths;
    paths.reserve(map.size());
    map.walk([&paths](const std::u16string&, FileEntry& entry) { paths.push_back(&entry.path); });
    if (paths.empty())
        return paths;
    // The paths of a dropped folder share a long beginning: compared after
    // it, the sort of 10 000 of them takes a fraction of the time.
    const std::u16string& first = *paths.front();
    std::size_t shared = first.size();
    for (const std::u16string* path : paths)
        shared = std::mismatch(path->begin(), path->begin() + std::min(shared, path->size()), first.begin()).first -
                 path->begin();
    // std::u16string compares char16_t, an unsigned type: code-unit order,
    // upper-case ASCII before lower-case, a prefix first.
    std::sort(paths.begin(), paths.end(), [shared](const std::u16string* a, const std::u16string* b) {
        return std::u16string_view(*a).substr(shared) < std::u16string_view(*b).substr(shared);
    });
    return paths;
}

namespace {

// Rebuilds the list from the map, showing it from the same row as before (or
// the one that follows it, when it went), and selects `select` (or the last
// row, when there are fewer) when it is not -1.
void rebuild_list(FileMap& map, FileListView& list, std::int32_t select) {
    const std::vector<const std::u16string*> paths = sorted_entry_paths(map);
    const std::int32_t top = list.top_item();
    const std::u16string top_path = top > 0 ? list.item_text(top) : std::u16string();
    list.suspend_drawing();
    list.clear_items();
    list.add_items(paths);
    const auto count = static_cast<std::int32_t>(paths.size());
    if (top > 0 && count > 0) {
        // Rows added or removed above it move it: it is found by its path.
        const auto at =
            std::lower_bound(paths.begin(), paths.end(), top_path,
                             [](const std::u16string* path, const std::u16string& text) { return *path < text; });
        list.show_from(std::min(static_cast<std::int32_t>(at - paths.begin()), count - 1));
    }
    if (select >= 0 && count > 0)
        list.select_only(std::min(select, count - 1));
    list.resume_drawing();
}

}  // namespace

void refresh_file_list(FileMap& map, FileListView& list) {
    rebuild_list(map, list, -1);
}

void remove_selected_entries(FileMap& map, FileListView& list) {
    const std::int32_t first = list.current_item();
    if (first == -1)
        return;
    // From the last item up, so that the positions still to visit stay valid.
    for (std::int32_t i = list.count_items() - 1; i >= 0; --i) {
        if (list.item_state(i) == 1)
            map.erase(file_map_key(list.item_text(i)));
    }
    // The row that follows the removed ones takes their place, selected, so
    // that Delete can go on down the list.
    rebuild_list(map, list, first);
}

void remove_all_entries(FileMap& map, FileListView& list) {
    map.clear();
    list.clear_items();
}
