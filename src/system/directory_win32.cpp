// Directory listings on Windows through FindFirstFileW / FindNextFileW.
#include "system/win32.h"

#include "base/object_library.h"
#include "system/directory.h"
#include "system/file_time_win32.h"
#include "system/handles_win32.h"
#include "system/wide.h"

namespace {

std::u16string search_path_of(std::u16string_view directory, std::u16string_view pattern) {
    std::u16string search_path(directory);
    if (!search_path.empty() && search_path.back() != u'\\')
        search_path += u'\\';
    search_path += pattern.empty() ? std::u16string_view(u"*.*") : pattern;
    return search_path;
}

// A link's (reparse point's) entry describes the link, not what it leads to:
// file_facts follows it. Any other entry already holds what
// GetFileAttributesExW would answer, without one more call per file.
bool facts_of(const WIN32_FIND_DATAW& entry, FileFacts& facts) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;
    facts.size = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                     ? -2
                     : (static_cast<std::int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    facts.date = local_date(entry.ftLastWriteTime);
    return true;
}

int type_of(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? DIRECTORY_ENTRY_FOLDER : DIRECTORY_ENTRY_FILE;
}

// Registry record; `search` is the liveness word (INVALID_HANDLE_VALUE, which
// is nonzero, marks a listing without entries).
struct ScanRecord {
    HANDLE search;
    BOOL first_delivered;
    WIN32_FIND_DATAW entry;
};

ObjectLibrary<ScanRecord>& scans() {
    return lasting_library<ScanRecord, finish_directory>();
}

}  // namespace

std::intptr_t examine_directory(std::intptr_t id, std::u16string_view directory, std::u16string_view pattern) {
    if (id != PB_Any && id < 0)
        return 0;
    const std::u16string search_path = search_path_of(directory, pattern);
    WIN32_FIND_DATAW first{};
    UniqueFind search(FindFirstFileW(wide(search_path), &first));
    if (!search && GetLastError() != ERROR_FILE_NOT_FOUND) {
        if (id != PB_Any)
            finish_directory(id);
        return 0;
    }
    const auto made = scans().create(id);
    if (!made)
        return 0;
    // The record's first word tells the registry it is in use: a raw handle,
    // closed by finish_directory.
    made.record->search = search.release();
    made.record->first_delivered = FALSE;
    made.record->entry = first;
    return made.result(reinterpret_cast<std::intptr_t>(made.record->search));
}

int next_directory_entry(std::intptr_t scan) {
    ScanRecord* record = scans().find(scan);
    if (!record || record->search == INVALID_HANDLE_VALUE)
        return 0;
    if (!record->first_delivered) {
        record->first_delivered = TRUE;
        return 1;
    }
    return FindNextFileW(record->search, &record->entry) ? 1 : 0;
}

std::u16string directory_entry_name(std::intptr_t scan) {
    const ScanRecord* record = scans().find(scan);
    return record ? from_wide(record->entry.cFileName) : std::u16string();
}

bool directory_entry_name_exact(std::intptr_t scan, std::u16string* shown) {
    // Names are UTF-16 already: every one is exact.
    if (shown)
        *shown = directory_entry_name(scan);
    return true;
}

int directory_entry_type(std::intptr_t scan) {
    const ScanRecord* record = scans().find(scan);
    return record ? type_of(record->entry) : 0;
}

bool directory_entry_facts(std::intptr_t scan, FileFacts& facts) {
    const ScanRecord* record = scans().find(scan);
    return record && record->search != INVALID_HANDLE_VALUE && facts_of(record->entry, facts);
}

bool list_directory(std::u16string_view directory,
                    std::u16string_view pattern,
                    const std::function<void(const DirectoryEntry&)>& visit) {
    WIN32_FIND_DATAW found{};
    const UniqueFind search(FindFirstFileW(wide(search_path_of(directory, pattern)), &found));
    if (!search)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        // Names are UTF-16 already: every one is exact.
        DirectoryEntry entry{};
        entry.name = reinterpret_cast<const char16_t*>(found.cFileName);
        entry.name_exact = true;
        entry.type = type_of(found);
        entry.facts = {-1, 0};
        entry.facts_known = facts_of(found, entry.facts);
        visit(entry);
    } while (FindNextFileW(search.get(), &found));
    return true;
}

void finish_directory(std::intptr_t scan) {
    if (const ScanRecord* record = scans().free_all_or_find(scan)) {
        UniqueFind(record->search).reset();
        scans().release(scan);
    }
}

void end_directories() {
    finish_directory(PB_Any);
}
