// Directory listings on Windows through FindFirstFileW / FindNextFileW, and
// whole-folder listings straight from the folder's handle.
#include "system/win32.h"

#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "base/object_library.h"
#include "system/directory.h"
#include "system/file_time_win32.h"
#include "system/handles_win32.h"
#include "system/verbatim_path.h"
#include "system/wide.h"

// FILE_ID_FULL_DIR_INFORMATION, which the headers for programs leave out.
struct FileIdFullDirInformation {
    ULONG NextEntryOffset;
    ULONG FileIndex;
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    LARGE_INTEGER EndOfFile;
    LARGE_INTEGER AllocationSize;
    ULONG FileAttributes;
    ULONG FileNameLength;
    ULONG EaSize;
    LARGE_INTEGER FileId;
    WCHAR FileName[1];
};
constexpr auto kFileIdFullDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(38);

// Declared by the driver kit's headers only; ntdll has it on every version.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file,
                                               HANDLE event,
                                               PIO_APC_ROUTINE apc,
                                               PVOID apc_context,
                                               PIO_STATUS_BLOCK io,
                                               PVOID buffer,
                                               ULONG length,
                                               FILE_INFORMATION_CLASS type,
                                               BOOLEAN single_entry,
                                               PUNICODE_STRING name,
                                               BOOLEAN restart);

namespace {

// The folder in its verbatim form where it needs it; the pattern keeps the
// platform's wildcard rules.
std::u16string search_path_of(std::u16string_view directory, std::u16string_view pattern) {
    std::u16string search_path = verbatim_path(directory);
    if (!search_path.empty() && search_path.back() != u'\\')
        search_path += u'\\';
    search_path += pattern.empty() ? std::u16string_view(u"*.*") : pattern;
    return search_path;
}

// What a listing tells of one entry, whichever call read it.
struct FoundEntry {
    DWORD attributes;
    std::int64_t size;
    FILETIME written;
    std::uint64_t number = 0;  // 0: not known
};

FoundEntry found_entry(const WIN32_FIND_DATAW& data) {
    return {data.dwFileAttributes, (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
            data.ftLastWriteTime};
}

// A link's (reparse point's) entry describes the link, not what it leads to:
// file_facts follows it. Any other entry already holds what
// GetFileAttributesExW would answer, without one more call per file.
bool facts_of(const FoundEntry& entry, FileFacts& facts) {
    if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;
    facts.size = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) ? -2 : entry.size;
    facts.date = local_date(entry.written);
    facts.modified = file_time_ticks(entry.written);
    return true;
}

int type_of(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? DIRECTORY_ENTRY_FOLDER : DIRECTORY_ENTRY_FILE;
}

void visit_entry(std::u16string_view name,
                 const FoundEntry& found,
                 const std::function<void(const DirectoryEntry&)>& visit) {
    // Names are UTF-16 already: every one is exact.
    DirectoryEntry entry{};
    entry.name = name;
    entry.name_exact = true;
    entry.type = type_of(found.attributes);
    entry.facts = {-1, 0};
    entry.facts_known = facts_of(found, entry.facts);
    // A link's number is the link's own; opening it gives its target's.
    entry.number = (found.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? 0 : found.number;
    visit(entry);
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

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr NTSTATUS kNoSuchFile = static_cast<NTSTATUS>(0xC000000F);

bool lists_everything(std::u16string_view pattern) {
    return pattern.empty() || pattern == u"*" || pattern == u"*.*";
}

// The listing FindFirstFileW makes, read without it: one call fills a large
// buffer with many entries. Under Wine this lists a folder in three quarters
// of the time. nullopt when the folder cannot be opened for listing, so that
// FindFirstFileW reports it as it always has.
std::optional<bool> list_whole_folder(std::u16string_view directory,
                                      const std::function<void(const DirectoryEntry&)>& visit) {
    std::u16string folder(directory);
    if (folder.empty() || folder.back() != u'\\')
        folder += u'\\';
    const UniqueFile handle(CreateFileW(wide(verbatim_path(folder)), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle)
        return std::nullopt;
    constexpr ULONG kBufferBytes = 64 * 1024;
    std::vector<ULONGLONG> buffer(kBufferBytes / sizeof(ULONGLONG));  // entries are 8-byte aligned
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        IO_STATUS_BLOCK io{};
        const NTSTATUS status =
            NtQueryDirectoryFile(handle.get(), nullptr, nullptr, nullptr, &io, buffer.data(), kBufferBytes,
                                 kFileIdFullDirectoryInformation, FALSE, nullptr, restart);
        if (status < 0 || io.Information == 0) {
            // A first call that fails is left to FindFirstFileW, which tells
            // a missing folder from an empty one as callers expect.
            if (restart)
                return status == kNoSuchFile ? std::optional<bool>(true) : std::nullopt;
            // A later failure (a share gone away) leaves the listing short:
            // it must not pass for the whole folder.
            if (status >= 0 || status == kNoMoreFiles || status == kNoSuchFile)
                return true;
            SetLastError(RtlNtStatusToDosError(status));
            return false;
        }
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
        const std::size_t filled = std::min<std::size_t>(io.Information, kBufferBytes);
        constexpr std::size_t kNameAt = offsetof(FileIdFullDirInformation, FileName);
        for (std::size_t at = 0; at + kNameAt <= filled;) {
            const auto* found = reinterpret_cast<const FileIdFullDirInformation*>(bytes + at);
            if (found->FileNameLength > filled - at - kNameAt)
                break;
            visit_entry(std::u16string_view(reinterpret_cast<const char16_t*>(found->FileName),
                                            found->FileNameLength / sizeof(WCHAR)),
                        {found->FileAttributes,
                         found->EndOfFile.QuadPart,
                         {found->LastWriteTime.LowPart, static_cast<DWORD>(found->LastWriteTime.HighPart)},
                         static_cast<std::uint64_t>(found->FileId.QuadPart)},
                        visit);
            if (found->NextEntryOffset == 0)
                break;
            at += found->NextEntryOffset;
        }
    }
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
    return record ? type_of(record->entry.dwFileAttributes) : 0;
}

bool directory_entry_facts(std::intptr_t scan, FileFacts& facts) {
    const ScanRecord* record = scans().find(scan);
    return record && record->search != INVALID_HANDLE_VALUE && facts_of(found_entry(record->entry), facts);
}

bool list_directory(std::u16string_view directory,
                    std::u16string_view pattern,
                    const std::function<void(const DirectoryEntry&)>& visit) {
    // The error is kept past the handles' close, for the caller to read.
    DWORD error = 0;
    const bool listed = [&] {
        // An empty folder name means the current folder to FindFirstFileW.
        if (!directory.empty() && lists_everything(pattern)) {
            if (const auto whole = list_whole_folder(directory, visit)) {
                error = GetLastError();
                return *whole;
            }
        }
        WIN32_FIND_DATAW found{};
        const UniqueFind search(FindFirstFileW(wide(search_path_of(directory, pattern)), &found));
        if (!search) {
            error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND;
        }
        do {
            visit_entry(reinterpret_cast<const char16_t*>(found.cFileName), found_entry(found), visit);
        } while (FindNextFileW(search.get(), &found));
        error = GetLastError();
        return error == ERROR_NO_MORE_FILES;  // anything else cut the listing short
    }();
    if (!listed)
        SetLastError(error);
    return listed;
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
