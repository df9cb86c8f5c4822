// blobsmith-cli as a Windows console program: the same bytes as natively for
// the same files, and the same exit status.
#include "system/win32.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "support/cli_fixture.h"
#include "support/wait_until.h"
#include "system/wide.h"

namespace {

struct CliRun {
    DWORD status;
    std::string out;
    SIZE_T peak_memory = 0;  // peak committed bytes of the process; 0 when unknown
};

struct CliStart {
    DWORD creation = CREATE_NO_WINDOW;  // a console without a window
    bool errors_too = false;            // error output on the same pipe, not discarded
    std::u16string output_file;         // standard output to this file instead of the pipe
};

// Runs blobsmith-cli in `folder` with its standard output on a pipe (so not a
// console) and its error output discarded. Each piece of output goes to
// `take`; by default it is kept in `out`.
CliRun run_cli(const std::u16string& folder,
               const std::u16string& arguments,
               const std::function<void(const char*, DWORD)>& take = nullptr,
               CliStart how = {}) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 1 << 16))
        return {~0u, ""};
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    HANDLE null_device =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = null_device;
    HANDLE output_file = how.output_file.empty() ? nullptr
                                                 : CreateFileW(wide(how.output_file), GENERIC_WRITE, FILE_SHARE_READ,
                                                               &inherit, CREATE_ALWAYS, 0, nullptr);
    startup.hStdOutput = output_file && output_file != INVALID_HANDLE_VALUE ? output_file : write_end;
    startup.hStdError = how.errors_too ? write_end : null_device;
    std::u16string command = u"\"" BLOBSMITH_BIN_DIR u"\\blobsmith-cli.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, const_cast<wchar_t*>(wide(command)), nullptr, nullptr, TRUE,
                                        how.creation, nullptr, wide(folder), &startup, &process);
    CloseHandle(write_end);
    CloseHandle(null_device);
    if (output_file && output_file != INVALID_HANDLE_VALUE)
        CloseHandle(output_file);
    CliRun result{~0u, ""};
    if (started) {
        std::vector<char> buffer(1 << 16);
        DWORD got = 0;
        // Asked while the run lasts too: Wine tells nothing once it ended.
        PROCESS_MEMORY_COUNTERS running{};
        SIZE_T seen = 0;
        while (ReadFile(read_end, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
            if (take)
                take(buffer.data(), got);
            else
                result.out.append(buffer.data(), got);
            if (GetProcessMemoryInfo(process.hProcess, &running, sizeof running))
                seen = std::max({seen, running.PeakPagefileUsage, running.PagefileUsage});
        }
        WaitForSingleObject(process.hProcess, 600000);
        GetExitCodeProcess(process.hProcess, &result.status);
        PROCESS_MEMORY_COUNTERS memory{};
        result.peak_memory = seen;
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
            result.peak_memory = std::max(result.peak_memory, memory.PeakPagefileUsage);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    return result;
}

// A file of zeros, extended without writing (sparse where the file system can).
bool make_sparse_file(const std::u16string& path, std::int64_t size) {
    HANDLE h = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end{};
    end.QuadPart = size;
    const bool made = SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    return made;
}

std::string file_bytes(const std::u16string& path) {
    HANDLE h = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "(none)";
    std::string bytes(1 << 16, '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
}

bool any_file_matches(const std::u16string& pattern) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(wide(pattern), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

TEST(BlobsmithCliWin32, GivesTheSameTextAsNatively) {
    CliFixture files;
    const CliRun r = run_cli(files.dir.folder(), u"tree other\\ABC.BIN");
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, CliFixture::expected_text());
}

// Files whose names the plain form takes for devices, named as inputs, by
// relative and by full paths: read as the files they are.
TEST(BlobsmithCliWin32, ReadsFilesNamedLikeDevices) {
    CliFixture files;
    files.dir.make_folder(u"odd");
    // Only the verbatim form removes them: the plain one names the devices.
    struct Removal {
        const ScratchDir& dir;
        ~Removal() {
            for (const char16_t* name : {u"odd\\aux.txt", u"odd\\COM1"})
                DeleteFileW(wide(u"\\\\?\\" + dir.path(name)));
        }
    } removal{files.dir};
    for (const char16_t* name : {u"odd\\aux.txt", u"odd\\COM1"}) {
        HANDLE made =
            CreateFileW(wide(u"\\\\?\\" + files.dir.path(name)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(made, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(made, "ABCDEFGH", 8, &written, nullptr);
        CloseHandle(made);
    }
    for (const std::u16string& arguments : {std::u16string(u"odd\\aux.txt odd/COM1"),
                                            files.dir.path(u"odd\\aux.txt") + u" " + files.dir.path(u"odd\\COM1")}) {
        const CliRun r = run_cli(files.dir.folder(), arguments, nullptr, {CREATE_NO_WINDOW, true, {}});
        EXPECT_EQ(r.status, 0u) << r.out;
        EXPECT_NE(r.out.find("#size_aux_txt = 8 ;"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("#size_COM1 = 8 ;"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("blobsmith-cli:"), std::string::npos) << r.out;
    }
}

TEST(BlobsmithCliWin32, WritesUtf16ToAFileAndReportsSkippedPaths) {
    CliFixture files;
    const CliRun r = run_cli(files.dir.folder(), u"--utf16 -o out.inc tree missing.bin other/ABC.BIN");
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(file_bytes(files.dir.path(u"out.inc")), CliFixture::utf16le(CliFixture::expected_text()));
}

TEST(BlobsmithCliWin32, NeverReadsItsOwnOutput) {
    CliFixture files;
    const std::string before = file_bytes(files.dir.path(u"other\\ABC.BIN"));
    CliRun r = run_cli(files.dir.folder(), u"-o other\\ABC.BIN tree other/abc.bin");
    EXPECT_EQ(r.status, 2u);
    EXPECT_EQ(file_bytes(files.dir.path(u"other\\ABC.BIN")), before);
    // An earlier output in a folder it is made from is left out.
    for (int run = 0; run < 2; ++run) {
        r = run_cli(files.dir.folder(), u"-o tree\\out.inc tree other\\ABC.BIN");
        EXPECT_EQ(r.status, 0u);
        EXPECT_EQ(file_bytes(files.dir.path(u"tree\\out.inc")), CliFixture::expected_text()) << run;
    }
}

// Standard output to a file in a folder it is made from: that file is the
// output, not an input.
TEST(BlobsmithCliWin32, StandardOutputToAFileIsNotReadAsAnInput) {
    CliFixture files;
    CliStart how;
    how.output_file = files.dir.path(u"tree\\out.inc");
    const CliRun r = run_cli(files.dir.folder(), u"tree other\\ABC.BIN", nullptr, how);
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(file_bytes(how.output_file), CliFixture::expected_text());
}

TEST(BlobsmithCliWin32, AFolderAsTheOutputIsRefusedBeforeAnyWork) {
    CliFixture files;
    const CliRun r = run_cli(files.dir.folder(), u"-o tree other\\ABC.BIN", nullptr, {CREATE_NO_WINDOW, true, {}});
    EXPECT_EQ(r.status, 2u);
    EXPECT_EQ(r.out, "blobsmith-cli: tree: it is a folder\n");
}

TEST(BlobsmithCliWin32, WritesToDevicesWithoutReplacingThem) {
    CliFixture files;
    for (const char16_t* device : {u"NUL", u"CON", u"CONOUT$"}) {
        const CliRun r = run_cli(files.dir.folder(), u"-o " + std::u16string(device) + u" tree");
        EXPECT_EQ(r.status, 0u) << wide(device);
    }
    // No temporary file beside them in the current folder either.
    EXPECT_FALSE(any_file_matches(files.dir.path(u"NUL*")));
    EXPECT_FALSE(any_file_matches(files.dir.path(u"CON*")));
    // Without a console there is none to write to: said so, and no file made.
    const CliRun r = run_cli(files.dir.folder(), u"-o con tree", nullptr, {DETACHED_PROCESS, true, {}});
    EXPECT_EQ(r.status, 2u);
    EXPECT_NE(r.out.find("con: cannot open it for writing"), std::string::npos) << r.out;
    EXPECT_FALSE(any_file_matches(files.dir.path(u"CON*")));
}

TEST(BlobsmithCliWin32, ListsFullPathsWithWindowsLineEnds) {
    CliFixture files;
    const CliRun r = run_cli(files.dir.folder(), u"--list tree\\sub");
    EXPECT_EQ(r.status, 0u);
    std::string expected;
    for (char16_t c : files.dir.path(u"tree/sub/abc.bin"))
        expected += static_cast<char>(c);
    EXPECT_EQ(r.out, expected + "\r\n");
}

std::atomic<bool> g_break_seen{false};
BOOL WINAPI keep_running_on_break(DWORD) noexcept {
    g_break_seen = true;
    return TRUE;
}

// Ctrl+C typed at the console the run shares with this test, sent while the
// text goes to its temporary file: the run ends and takes the file with it.
TEST(BlobsmithCliWin32, CtrlCRemovesTheTemporaryFileAndKeepsTheOutput) {
    CliFixture files;
    ASSERT_TRUE(make_sparse_file(files.dir.path(u"large.bin"), 512LL << 20));
    const std::u16string output = files.dir.path(u"out.inc");
    HANDLE old = CreateFileW(wide(output), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(old, "old", 3, &written, nullptr);
    CloseHandle(old);

    // A console of this test's own: the one Wine gives a program started from
    // a shell that is no terminal cannot carry Ctrl+C (ERROR_INVALID_ACCESS).
    const HANDLE std_handles[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                                  GetStdHandle(STD_ERROR_HANDLE)};
    FreeConsole();
    if (!AllocConsole())
        GTEST_SKIP() << "no console to type Ctrl+C at (error " << GetLastError() << ")";

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE null_device = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                     OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = null_device;
    std::u16string command = u"\"" BLOBSMITH_BIN_DIR u"\\blobsmith-cli.exe\" -o out.inc large.bin";
    PROCESS_INFORMATION process{};
    // The console's own process group: Ctrl+C reaches the run as it reaches this test.
    const BOOL started = CreateProcessW(nullptr, const_cast<wchar_t*>(wide(command)), nullptr, nullptr, TRUE, 0,
                                        nullptr, wide(files.dir.folder()), &startup, &process);
    CloseHandle(null_device);
    ASSERT_TRUE(started);
    SetConsoleCtrlHandler(keep_running_on_break, TRUE);

    bool writing = false;
    for (int i = 0; i < 6000 && !writing; ++i) {
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0)
            break;
        writing = any_file_matches(files.dir.path(u"out.inc.tmp*"));
    }
    g_break_seen = false;
    const bool sent = writing && GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    const DWORD send_error = GetLastError();
    const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    // Ctrl+C reaches this test too, on a thread of its own: without the
    // handler by then, the default one would end the whole test program.
    if (sent)
        wait_until([] { return g_break_seen.load(); }, [] { Sleep(10); }, 10000);
    if (!ended)
        TerminateProcess(process.hProcess, 99);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetConsoleCtrlHandler(keep_running_on_break, FALSE);
    FreeConsole();
    SetStdHandle(STD_INPUT_HANDLE, std_handles[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, std_handles[1]);
    SetStdHandle(STD_ERROR_HANDLE, std_handles[2]);

    ASSERT_TRUE(writing) << "the run ended before its temporary file was seen, status " << status;
    ASSERT_TRUE(sent) << "Ctrl+C could not be sent: error " << send_error;
    EXPECT_TRUE(ended) << "Ctrl+C did not end the run";
    EXPECT_EQ(status, static_cast<DWORD>(STATUS_CONTROL_C_EXIT));
    EXPECT_FALSE(any_file_matches(files.dir.path(u"out.inc.tmp*")));
    EXPECT_EQ(file_bytes(output), "old");
}

TEST(BlobsmithCliWin32, StreamsAFileOfHundredsOfMebibytesInLittleMemory) {
    CliFixture files;
    // The 32-bit build once needed 11 bytes of memory per input byte.
    constexpr std::int64_t kSize = 512LL << 20;
    ASSERT_TRUE(make_sparse_file(files.dir.path(u"sparse.bin"), kSize));

    std::string head;
    std::uint64_t lines = 0, bytes = 0;
    const CliRun r = run_cli(files.dir.folder(), u"sparse.bin", [&](const char* data, DWORD count) {
        if (head.size() < 200)
            head.append(data, std::min<std::size_t>(count, 200));
        bytes += count;
        for (DWORD i = 0; i < count; ++i)
            lines += data[i] == '\n';
    });
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(head.substr(0, 47), "DataSection\r\n\r\n\t#size_sparse_bin = 536870912 ; ");
    // Two lines before the entry, two for its size and label, a row per 4096
    // bytes, two empty lines after a full row and the last line.
    const std::uint64_t values = kSize / 8, rows = values / 512;
    EXPECT_EQ(lines, 2u + 2u + rows + 2u + 1u);
    // "$0" and "," for every value, "\r\n" instead of "," ending a row, and
    // "\tData.q " starting every row but the first.
    EXPECT_EQ(bytes, 15u + 53u + 19u + 8u + values * 3 + rows + 8 * (rows - 1) + 4u + 16u);
    if (r.peak_memory == 0)
        GTEST_SKIP() << "the system did not tell the run's peak memory; its text was checked";
    EXPECT_LT(r.peak_memory, 64u << 20);
}

}  // namespace
