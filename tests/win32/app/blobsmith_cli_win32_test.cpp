// blobsmith-cli as a Windows console program: the same bytes as natively for
// the same files, and the same exit status.
#include "system/win32.h"

#include <gtest/gtest.h>

#include <string>

#include "support/cli_fixture.h"
#include "system/wide.h"

namespace {

struct CliRun {
    DWORD status;
    std::string out;
};

// Runs blobsmith-cli in `folder` with its standard output on a pipe (so not a
// console) and its error output discarded.
CliRun run_cli(const std::u16string& folder, const std::u16string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0))
        return {~0u, ""};
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    HANDLE null_device =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = null_device;
    startup.hStdOutput = write_end;
    startup.hStdError = null_device;
    std::u16string command = u"\"" BLOBSMITH_BIN_DIR u"\\blobsmith-cli.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, const_cast<wchar_t*>(wide(command)), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, wide(folder), &startup, &process);
    CloseHandle(write_end);
    CloseHandle(null_device);
    CliRun result{~0u, ""};
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
            result.out.append(buffer, got);
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &result.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    return result;
}

TEST(BlobsmithCliWin32, GivesTheSameTextAsNatively) {
    CliFixture files;
    const CliRun r = run_cli(files.dir.folder(), u"tree other\\ABC.BIN");
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, CliFixture::expected_text());
}

TEST(BlobsmithCliWin32, WritesUtf16ToAFileAndReportsSkippedPaths) {
    CliFixture files;
    const CliRun r = run_cli(files.dir.folder(), u"--utf16 -o out.inc tree missing.bin other/ABC.BIN");
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.out, "");
    HANDLE h =
        CreateFileW(wide(files.dir.path(u"out.inc")), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::string bytes(1 << 16, '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    bytes.resize(got);
    EXPECT_EQ(bytes, CliFixture::utf16le(CliFixture::expected_text()));
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

}  // namespace
