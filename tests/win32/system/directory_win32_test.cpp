// A folder listing that fails partway (a share that goes away while it is
// read) must say so, not pass for the whole folder.
#include "system/win32.h"

#include <winternl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/import_slot_win32.h"
#include "support/scratch_dir.h"
#include "system/directory.h"

namespace {

using QueryDirectory = NTSTATUS(NTAPI*)(HANDLE,
                                        HANDLE,
                                        PIO_APC_ROUTINE,
                                        PVOID,
                                        PIO_STATUS_BLOCK,
                                        PVOID,
                                        ULONG,
                                        FILE_INFORMATION_CLASS,
                                        BOOLEAN,
                                        PUNICODE_STRING,
                                        BOOLEAN);
using FindNext = BOOL(WINAPI*)(HANDLE, LPWIN32_FIND_DATAW);

QueryDirectory g_query = nullptr;
FindNext g_find_next = nullptr;
int g_calls_left = 0;  // calls that still work; the one after fails

NTSTATUS NTAPI query_then_fail(HANDLE file,
                               HANDLE event,
                               PIO_APC_ROUTINE routine,
                               PVOID context,
                               PIO_STATUS_BLOCK io,
                               PVOID buffer,
                               ULONG length,
                               FILE_INFORMATION_CLASS kind,
                               BOOLEAN single,
                               PUNICODE_STRING mask,
                               BOOLEAN restart) {
    if (g_calls_left-- == 0)
        return static_cast<NTSTATUS>(0xC00000C9);  // STATUS_NETWORK_NAME_DELETED
    return g_query(file, event, routine, context, io, buffer, length, kind, single, mask, restart);
}

BOOL WINAPI find_next_then_fail(HANDLE search, LPWIN32_FIND_DATAW data) {
    if (g_calls_left-- == 0) {
        SetLastError(ERROR_NETNAME_DELETED);
        return FALSE;
    }
    return g_find_next(search, data);
}

// A folder of more entries than one read of 64 KiB returns.
void fill(ScratchDir& dir) {
    const std::u16string padding(110, u'n');
    for (int i = 0; i < 700; ++i) {
        const std::string number = std::to_string(i);
        dir.write(padding + u"-" + std::u16string(number.begin(), number.end()), "x");
    }
}

// Lists the folder with `calls` reads working before one fails; the entries
// seen, and whether the listing said it was whole. `error`: the system's
// error after a failed listing.
std::pair<int, bool> list_with_working_reads(const std::u16string& folder,
                                             std::u16string_view pattern,
                                             int calls,
                                             DWORD* error = nullptr) {
    g_calls_left = calls;
    int seen = 0;
    const bool listed = list_directory(folder, pattern, [&seen](const DirectoryEntry&) { ++seen; });
    if (error)
        *error = GetLastError();
    return {seen, listed};
}

TEST(ListDirectoryWin32, AWholeListingCutShortFails) {
    ScratchDir dir;
    fill(dir);
    const DivertedImport diverted("NtQueryDirectoryFile", reinterpret_cast<void*>(&query_then_fail));
    g_query = diverted.original<QueryDirectory>();
    ASSERT_NE(g_query, nullptr) << "the listing no longer calls NtQueryDirectoryFile";
    DWORD error = 0;
    const auto [cut, cut_listed] = list_with_working_reads(dir.folder(), u"*.*", 1, &error);
    EXPECT_FALSE(cut_listed);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NETNAME_DELETED));  // why, for the message
    EXPECT_GT(cut, 0);
    EXPECT_LT(cut, 702);
    EXPECT_EQ(list_with_working_reads(dir.folder(), u"*.*", 1000), std::make_pair(702, true));  // with "." and ".."
}

TEST(ListDirectoryWin32, APatternListingCutShortFails) {
    ScratchDir dir;
    fill(dir);
    const DivertedImport diverted("FindNextFileW", reinterpret_cast<void*>(&find_next_then_fail));
    g_find_next = diverted.original<FindNext>();
    ASSERT_NE(g_find_next, nullptr);
    DWORD error = 0;
    EXPECT_EQ(list_with_working_reads(dir.folder(), u"n*", 10, &error), std::make_pair(11, false));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NETNAME_DELETED));
    EXPECT_EQ(list_with_working_reads(dir.folder(), u"n*", 1000), std::make_pair(700, true));
}

}  // namespace
