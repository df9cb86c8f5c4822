// The folder walk, depth first without recursion.
#include "app/folder_scan.h"

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "base/object_id.h"
#include "system/directory.h"
#include "system/error_text.h"

namespace {

struct Listed {
    std::size_t name_at;  // in the listing's names
    std::size_t name_size;
    bool folder;
    bool facts_known;
    FileFacts facts;
    std::uint64_t number;  // a folder's, from the listing; 0: unknown
};

// A folder's entries, read in one go so that only one listing is open at a
// time however deep the tree is. The names lie one after another in one
// string: no allocation per name.
struct Listing {
    std::u16string names;
    std::vector<Listed> entries;

    [[nodiscard]] std::u16string_view name(const Listed& entry) const {
        return std::u16string_view(names).substr(entry.name_at, entry.name_size);
    }
};

// A folder being walked.
struct Frame {
    std::u16string path;  // ends with the separator
    Listing listing;
    std::size_t next = 0;
};

// `error`: why the folder could not be listed (read before anything is freed).
std::optional<Listing> list_folder(const std::u16string& path,
                                   std::vector<std::u16string>& unnamed,
                                   unsigned long& error) {
    Listing listing;
    const bool listed = list_directory(path, u"*.*", [&](const DirectoryEntry& entry) {
        if (!entry.name_exact) {
            // Two such names may decode to the same text: each is reported
            // rather than one standing for both.
            unnamed.push_back(path + std::u16string(entry.name));
            return;
        }
        const bool folder = entry.type == DIRECTORY_ENTRY_FOLDER;
        if (folder && (entry.name == u"." || entry.name == u".."))
            return;
        const bool facts_known = !folder && entry.facts_known;
        listing.entries.push_back({listing.names.size(), entry.name.size(), folder, facts_known,
                                   facts_known ? entry.facts : FileFacts{-1, 0}, folder ? entry.number : 0});
        listing.names += entry.name;
    });
    if (!listed) {
        error = last_system_error();
        return std::nullopt;
    }
    return listing;
}

// The key of a file: its path after the top folder, with "\" between folders
// on every platform. A POSIX name may hold "\" itself, never "/": the two
// trade places there, so that no name spells another file's place.
std::u16string relative_key(std::u16string_view full, std::size_t base) {
    std::u16string key(full.substr(base));
    for (char16_t& c : key) {
        if (c == u'/')
            c = u'\\';
#ifndef _WIN32
        else if (c == u'\\')
            c = u'/';
#endif
    }
    return key;
}

class Walk {
public:
    // `listed_numbers`: take a folder's number from its parent's listing when
    // the listing tells it, rather than asking `identify`.
    Walk(FolderScanMap& map,
         FolderScanResult& result,
         std::size_t base,
         const FolderIdentityReader& identify,
         bool listed_numbers)
        : map_(map), result_(result), base_(base), identify_(identify), listed_numbers_(listed_numbers) {}

    // Pushes the folder unless it was entered before; false when it cannot be
    // listed. `number`: the folder's number from its parent's listing, 0 when
    // not known.
    void enter(std::u16string path, std::uint64_t number = 0) {
        if (entered_before(path, listed_numbers_ ? number : 0))
            return;
        unsigned long error = 0;
        auto listing = list_folder(path, result_.unnamed, error);
        if (!listing) {
            result_.unlisted.push_back({std::move(path), error});
            return;
        }
        stack_.push_back({std::move(path), std::move(*listing), 0});
    }

    void run() {
        while (!stack_.empty()) {
            Frame& top = stack_.back();
            if (top.next == top.listing.entries.size()) {
                stack_.pop_back();
                continue;
            }
            const Listed& entry = top.listing.entries[top.next++];
            const std::u16string_view name = top.listing.name(entry);
            std::u16string full;
            full.reserve(top.path.size() + name.size() + 1);
            full.append(top.path).append(name);
            if (entry.folder) {
                full += kPathSeparator;
                enter(std::move(full), entry.number);  // may move the stack: `top` is not used again
            } else {
                ScannedFile& file = map_.insert(relative_key(full, base_));
                if (!file.path.empty())
                    result_.shadowed.push_back(std::move(file.path));
                file = {std::move(full), entry.facts_known, entry.facts};
            }
        }
    }

private:
    struct Entered {
        std::u16string path;
        std::optional<FolderIdentity> identity;  // with the volume, once asked
        bool asked = false;
    };

    // Folders are told apart by their number first; only folders that share
    // one are asked for their volume, which costs far more on some platforms.
    // A folder whose identity cannot be read is still walked: without links it
    // cannot repeat, and with them the growing path ends the walk at the
    // platform's path limit.
    bool entered_before(const std::u16string& path, std::uint64_t listed_number) {
        const auto number = listed_number != 0 ? FolderIdentity{0, listed_number, 0} : identify_(path, false);
        if (!number)
            return false;
        std::vector<Entered>& same = entered_[{number->index, number->index_high}];
        if (same.empty()) {
            same.push_back({path, std::nullopt, false});
            return false;
        }
        const auto identity = identify_(path, true);
        for (Entered& other : same) {
            if (!other.asked) {
                other.identity = identify_(other.path, true);
                other.asked = true;
            }
            if (identity && other.identity && *identity == *other.identity)
                return true;
        }
        same.push_back({path, identity, true});
        return false;
    }

    FolderScanMap& map_;
    FolderScanResult& result_;
    std::size_t base_;
    const FolderIdentityReader& identify_;
    bool listed_numbers_;
    std::vector<Frame> stack_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::vector<Entered>> entered_;  // by number
};

FolderScanResult scan(std::u16string_view folder,
                      FolderScanMap& map,
                      const FolderIdentityReader& identify,
                      bool listed_numbers) {
    map.clear();
    std::u16string top(folder);
#ifdef _WIN32
    for (char16_t& c : top) {
        if (c == u'/')
            c = u'\\';
    }
#endif
    if (top.empty() || top.back() != kPathSeparator)
        top += kPathSeparator;

    FolderScanResult result;
    Walk walk(map, result, top.size(), identify, listed_numbers);
    walk.enter(std::move(top));
    walk.run();
    result.files = map.size();
    return result;
}

}  // namespace

// A folder's number from its parent's listing is what folder_identity would
// read when it opened the folder: under Wine that open costs as much as the
// folder's listing.
FolderScanResult scan_folder(std::u16string_view folder, FolderScanMap& map) {
    return scan(folder, map, folder_identity, true);
}

FolderScanResult scan_folder(std::u16string_view folder, FolderScanMap& map, const FolderIdentityReader& identify) {
    return scan(folder, map, identify, false);
}
