// Directory listings on POSIX through opendir / readdir, with Windows-style
// patterns ("*.*" lists everything; matching ignores letter case).
#include <dirent.h>
#include <errno.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "base/object_library.h"
#include "system/directory.h"
#include "system/file_facts_posix.h"
#include "system/handles_posix.h"
#include "system/utf.h"

namespace {

struct ScanState {
    UniqueDir dir;        // empty: a listing without entries
    std::string folder;   // with a trailing "/"
    std::string pattern;  // empty: everything matches
    bool first_delivered = false;
    std::string name;
    int type = 0;
    bool failed = false;  // reading stopped on an error, not at the end
};

// Registry record; `state` is the liveness word.
struct ScanRecord {
    ScanState* state;
};

ObjectLibrary<ScanRecord>& scans() {
    return lasting_library<ScanRecord, finish_directory>();
}

ScanState* find_scan(std::intptr_t id) {
    const ScanRecord* record = scans().find(id);
    return record ? record->state : nullptr;
}

// Reads entries until one matches the pattern; false at the end, or when
// reading failed (state.failed).
bool advance(ScanState& state) {
    if (!state.dir)
        return false;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(state.dir.get());
        if (!entry) {
            state.failed = errno != 0;
            return false;
        }
        if (!state.pattern.empty() && fnmatch(state.pattern.c_str(), entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        state.name = entry->d_name;
        if (entry->d_type == DT_DIR) {
            state.type = DIRECTORY_ENTRY_FOLDER;
        } else if (entry->d_type == DT_REG) {
            state.type = DIRECTORY_ENTRY_FILE;
        } else {
            // Links and file systems without types: ask for what the name leads to.
            struct stat st {};
            const std::string full = state.folder + state.name;
            state.type =
                stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? DIRECTORY_ENTRY_FOLDER : DIRECTORY_ENTRY_FILE;
        }
        return true;
    }
}

// Opens the folder for a listing; false when it cannot be listed.
bool open_scan(ScanState& state, std::u16string_view directory, std::u16string_view pattern) {
    state.folder = utf8_from_utf16(directory);
    if (state.folder.empty())
        state.folder.push_back('.');
    if (state.folder.back() != '/')
        state.folder += '/';
    if (!pattern.empty() && pattern != u"*.*" && pattern != u"*")
        state.pattern = utf8_from_utf16(pattern);
    state.dir.reset(opendir(state.folder.c_str()));
    return static_cast<bool>(state.dir);
}

// Whether the current name is text; `shown` (when given) gets the name for
// messages either way.
bool name_exact(const std::string& name, std::u16string* shown) {
    const bool exact = utf8_from_utf16(utf16_from_utf8(name)) == name;
    if (shown) {
        if (exact) {
            *shown = utf16_from_utf8(name);
        } else {
            // Byte by byte: a byte that does not begin a valid sequence is shown
            // in hex, so two names differing only there stay different.
            shown->clear();
            std::size_t at = 0;
            while (at < name.size()) {
                std::size_t length = 1;
                while (length < 4 && at + length < name.size() &&
                       (static_cast<unsigned char>(name[at + length]) & 0xC0) == 0x80)
                    ++length;
                const std::string piece = name.substr(at, length);
                if (static_cast<unsigned char>(piece[0]) < 0x80 || utf8_from_utf16(utf16_from_utf8(piece)) == piece) {
                    *shown += utf16_from_utf8(piece);
                    at += length;
                    continue;
                }
                static constexpr char kHex[] = "0123456789ABCDEF";
                const auto byte = static_cast<unsigned char>(name[at]);
                *shown += u"\\x";
                *shown += static_cast<char16_t>(kHex[byte >> 4]);
                *shown += static_cast<char16_t>(kHex[byte & 15]);
                ++at;
            }
        }
    }
    return exact;
}

// What the current name leads to, links followed; false when it cannot be read.
bool stat_entry(const ScanState& state, struct stat& st) {
    return fstatat(dirfd(state.dir.get()), state.name.c_str(), &st, 0) == 0;
}

}  // namespace

std::intptr_t examine_directory(std::intptr_t id, std::u16string_view directory, std::u16string_view pattern) {
    if (id != PB_Any && id < 0)
        return 0;
    auto state = std::make_unique<ScanState>();
    if (!open_scan(*state, directory, pattern)) {
        if (id != PB_Any)
            finish_directory(id);
        return 0;
    }
    if (!advance(*state))
        state->dir.reset();
    const auto made = scans().create(id);
    if (!made)
        return 0;
    made.record->state = state.release();
    return made.result(reinterpret_cast<std::intptr_t>(made.record->state));
}

int next_directory_entry(std::intptr_t scan) {
    ScanState* state = find_scan(scan);
    if (!state || !state->dir)
        return 0;
    if (!state->first_delivered) {
        state->first_delivered = true;
        return 1;
    }
    return advance(*state) ? 1 : 0;
}

std::u16string directory_entry_name(std::intptr_t scan) {
    const ScanState* state = find_scan(scan);
    return state ? utf16_from_utf8(state->name) : std::u16string();
}

bool directory_entry_name_exact(std::intptr_t scan, std::u16string* shown) {
    const ScanState* state = find_scan(scan);
    return state && name_exact(state->name, shown);
}

int directory_entry_type(std::intptr_t scan) {
    const ScanState* state = find_scan(scan);
    return state ? state->type : 0;
}

bool directory_entry_facts(std::intptr_t scan, FileFacts& facts) {
    const ScanState* state = find_scan(scan);
    if (!state || !state->dir)
        return false;
    struct stat st {};
    facts = stat_entry(*state, st) ? file_facts_of(st) : FileFacts{-1, 0};
    return true;
}

bool list_directory(std::u16string_view directory,
                    std::u16string_view pattern,
                    const std::function<void(const DirectoryEntry&)>& visit) {
    // Without a number: no registry lookup per entry, and safe on any thread.
    // The error is kept past the stream's close, for the caller to read.
    int error = 0;
    const bool listed = [&] {
        ScanState state;
        if (!open_scan(state, directory, pattern)) {
            error = errno;
            return false;
        }
        std::u16string name;
        while (advance(state)) {
            DirectoryEntry entry{};
            entry.name_exact = name_exact(state.name, &name);
            entry.name = name;
            entry.type = state.type;
            struct stat st {};
            const bool stated = stat_entry(state, st);
            entry.facts = stated ? file_facts_of(st) : FileFacts{-1, 0};
            entry.facts_known = true;
            entry.number = stated ? static_cast<std::uint64_t>(st.st_ino) : 0;  // links followed, as folder_identity
            visit(entry);
        }
        error = errno;
        return !state.failed;
    }();
    if (!listed)
        errno = error;
    return listed;
}

void finish_directory(std::intptr_t scan) {
    if (const ScanRecord* record = scans().free_all_or_find(scan)) {
        ScanState* state = record->state;
        scans().release(scan);
        delete state;  // closes its stream
    }
}

void end_directories() {
    finish_directory(PB_Any);
}
