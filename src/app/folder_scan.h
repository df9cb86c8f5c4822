// The walk of one dropped folder: every file of its tree under the file's
// path relative to the folder, in a map whose walk order decides which of
// several same-named files wins the drop.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chained_map.h"
#include "system/file.h"
#include "system/folder_identity.h"

struct ScannedFile {
    std::u16string path;       // full path
    bool facts_known = false;  // `facts` were read with the listing
    FileFacts facts{-1, 0};    // file_facts(path) then
};

// Relative path (separated by "\" on every platform, so that one tree gives
// one walk order everywhere) -> the file.
using FolderScanMap = ChainedMap<ScannedFile>;

// The platform's folder separator in full paths.
inline constexpr char16_t kPathSeparator =
#ifdef _WIN32
    u'\\';
#else
    u'/';
#endif

struct UnlistedFolder {
    std::u16string path;
    unsigned long error = 0;  // the system's error number, 0 when unknown
};

struct FolderScanResult {
    std::size_t files = 0;                 // entries in the map; 0 when the folder cannot be listed
    std::vector<UnlistedFolder> unlisted;  // folders of the tree that could not be listed
    // Entries whose names are not text (POSIX names that are not UTF-8), as
    // shown in messages: they cannot be reached by any path the map can hold.
    std::vector<std::u16string> unnamed;
    // Files whose path within the tree is another file's once written with
    // backslashes (a POSIX name may hold one: a\b beside a folder a holding
    // b); the later one stays, as among same-named files.
    std::vector<std::u16string> shadowed;
};

// Empties `map`, then stores every file of the tree under `folder` (hidden
// ones included), depth first in the platform's listing order. Folders reached
// again through links or junctions are not entered twice, and the walk keeps
// its own stack, so neither link cycles nor deep trees can exhaust it.
FolderScanResult scan_folder(std::u16string_view folder, FolderScanMap& map);

// How a walk tells which folder a path (ending with the separator) leads to:
// `folder_identity`, which the walk asks only about the top folder and links
// (the listings tell the other folders' numbers), unless a caller passes
// another reader, as tests of link cycles do on platforms where links cannot
// be made: that one is asked about every folder. The walk asks for the volume
// (`with_volume`) only of folders whose numbers are the same.
using FolderIdentityReader = std::function<std::optional<FolderIdentity>(std::u16string_view path, bool with_volume)>;
FolderScanResult scan_folder(std::u16string_view folder, FolderScanMap& map, const FolderIdentityReader& identify);
