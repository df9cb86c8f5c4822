// External programs for real: this test program started again as the child,
// and registered as the shell's handler of a test document type and address.
#include "system/run_program.h"

#include "child_process.h"
#include "support/scratch_dir.h"
#include "system/runtime_services.h"
#include "system/utf.h"
#include "system/wide.h"
#include "system/win32.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>
#include <string>

namespace {

HANDLE handle_of(std::uintptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

DWORD exit_code_after_end(std::uintptr_t process) {
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(handle_of(process), 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(handle_of(process), &code);
    return code;
}

class RunProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() { init_runtime_services(); }
};

TEST_F(RunProgram, KeptProgramsPipesCarryInputOutputAndError) {
    constexpr std::uint32_t kFlags =
        PB_Program_Keep | PB_Program_ReadOutput | PB_Program_WriteInput | PB_Program_ReadError;
    const std::intptr_t program = run_program(this_program(), u"--child=echo-error", {}, kFlags);
    const auto record = program_record(program);
    ASSERT_TRUE(record);
    EXPECT_GT(record->process_id, 0);
    EXPECT_EQ(record->flags, kFlags);
    ASSERT_NE(record->input, 0u);
    ASSERT_NE(record->output, 0u);
    ASSERT_NE(record->error, 0u);

    const std::string text = "line one\nline two \xC3\xA9\n";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(handle_of(record->input), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    close_program_input(program);
    EXPECT_EQ(program_record(program)->input, 0u);
    EXPECT_EQ(read_pipe(record->output), text);
    EXPECT_EQ(read_pipe(record->error), "to standard error");
    EXPECT_EQ(exit_code_after_end(record->process), 0u);
    close_program(program);
    EXPECT_FALSE(program_record(program));
}

TEST_F(RunProgram, ConnectFeedsOneKeptProgramsOutputToTheNext) {
    const std::intptr_t sender =
        run_program(this_program(), u"--child=print", {}, PB_Program_Keep | PB_Program_ReadOutput);
    ASSERT_TRUE(program_record(sender));
    const std::intptr_t receiver = run_program(this_program(), u"--child=echo", {},
                                               PB_Program_Keep | PB_Program_ReadOutput | PB_Program_Connect, sender);
    const auto record = program_record(receiver);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->input, 0u);
    EXPECT_EQ(read_pipe(record->output), "hello from a kept program\n");
    close_program(receiver);
    close_program(sender);
}

TEST_F(RunProgram, AProgramPathWithBlanksNeedsNoQuotesAndTheDirectoryIsUsed) {
    const ScratchDir scratch;
    const std::u16string folder = scratch.make_folder(u"run program") + u"\\";
    const std::u16string copy = folder + u"copy of the tests.exe";
    ASSERT_TRUE(CopyFileW(wide(this_program()), wide(copy), FALSE));
    // Unquoted, the path would start "copy.exe" (Windows tries the blanks in
    // turn); Wine would even re-quote a path it found, but not with a decoy there.
    const std::u16string decoy = folder + u"copy.exe";
    ASSERT_TRUE(CopyFileW(wide(this_program()), wide(decoy), FALSE));
    const std::u16string work = scratch.make_folder(u"work dir");

    const std::intptr_t program = run_program(copy, u"--child=where", work, PB_Program_Keep | PB_Program_ReadOutput);
    const auto record = program_record(program);
    ASSERT_TRUE(record);
    EXPECT_EQ(read_pipe(record->output), utf8_from_utf16(copy) + "\n" + utf8_from_utf16(work) + "\n");
    EXPECT_EQ(exit_code_after_end(record->process), 0u);
    close_program(program);

    EXPECT_EQ(run_program(copy, u"--child=exit 0", {}, PB_Program_Wait), 1);
}

TEST_F(RunProgram, WaitReturnsOnlyAfterTheProgramEnded) {
    const std::intptr_t program =
        run_program(this_program(), u"--child=exit 7", {}, PB_Program_Wait | PB_Program_Keep | PB_Program_Hide);
    const auto record = program_record(program);
    ASSERT_TRUE(record);
    EXPECT_EQ(WaitForSingleObject(handle_of(record->process), 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(exit_code_after_end(record->process), 7u);
    EXPECT_EQ(record->output, 0u);
    close_program(program);
}

TEST_F(RunProgram, WhatNeitherAProcessNorTheShellCanOpenGivesZero) {
    EXPECT_EQ(run_program(u"Z:\\no such folder\\no such program.exe", u"x", {}, 0), 0);
    EXPECT_EQ(run_program(u"Z:\\no such folder\\no such program.exe", {}, {}, PB_Program_Keep | PB_Program_ReadOutput),
              0);
    EXPECT_EQ(run_program({}, {}, {}, 0), 0);
    EXPECT_FALSE(program_record(12345));
    close_program(12345);  // names nothing: no effect
}

// ---------------------------------------------------------------- the shell fallback
// A document type and an address scheme whose handler is this test program in
// its "opened" mode, registered for the duration of a test.
class ShellFallback : public RunProgram {
protected:
    void SetUp() override {
        event_name_ = u"BlobsmithShellTest" + utf16_from_utf8(std::to_string(GetCurrentProcessId()));
        go_ = CreateEventW(nullptr, TRUE, FALSE, wide(event_name_));
        ASSERT_NE(go_, nullptr);
        folder_ = scratch_.make_folder(u"shell test") + u"\\";
        marker_ = folder_ + u"opened.txt";
        DeleteFileW(wide(marker_));
        const std::u16string command =
            u"\"" + this_program() + u"\" --child=opened " + event_name_ + u" \"" + marker_ + u"\" \"%1\"";
        ASSERT_TRUE(set_key(u".blobsmithtest", {}, u"Blobsmith.TestDocument"));
        ASSERT_TRUE(set_key(u"Blobsmith.TestDocument\\shell\\open\\command", {}, command));
        ASSERT_TRUE(set_key(u"blobsmith-test", u"URL Protocol", u""));
        ASSERT_TRUE(set_key(u"blobsmith-test\\shell\\open\\command", {}, command));
    }

    void TearDown() override {
        for (const wchar_t* key : {L".blobsmithtest", L"Blobsmith.TestDocument", L"blobsmith-test"}) {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
            RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
        }
        if (go_)
            CloseHandle(go_);
        DeleteFileW(wide(marker_));
    }

    static bool set_key(const std::u16string& key, const std::u16string& name, const std::u16string& value) {
        HKEY handle = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, wide(key), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
            ERROR_SUCCESS) {
            return false;
        }
        const LONG status = RegSetValueExW(handle, name.empty() ? nullptr : wide(name), 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
        RegCloseKey(handle);
        return status == ERROR_SUCCESS;
    }

    bool marker_exists() const { return GetFileAttributesW(wide(marker_)) != INVALID_FILE_ATTRIBUTES; }

    // Lets the handler go and returns what it wrote (empty if it never did).
    // The handler holds the file unshared until it has written it.
    std::string release_handler_and_read_marker() {
        SetEvent(go_);
        std::string text;
        for (int i = 0; i < 400; ++i) {
            HANDLE file = CreateFileW(wide(marker_), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                Sleep(50);
                continue;
            }
            char buffer[2048];
            DWORD got = 0;
            if (ReadFile(file, buffer, sizeof buffer, &got, nullptr))
                text.assign(buffer, got);
            CloseHandle(file);
            break;
        }
        return text;
    }

    std::u16string event_name_;
    HANDLE go_ = nullptr;
    ScratchDir scratch_;
    std::u16string folder_;
    std::u16string marker_;
};

TEST_F(ShellFallback, ADocumentOpensWithItsHandlerInItsFolderWithoutWaiting) {
    const std::u16string document = folder_ + u"sample document.blobsmithtest";
    HANDLE file = CreateFileW(wide(document), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    EXPECT_EQ(run_program(document, {}, {}, 0), 1);
    // The handler waits for the event before it writes: had run_program
    // waited for it, the marker would be there by now.
    EXPECT_FALSE(marker_exists());
    EXPECT_EQ(release_handler_and_read_marker(),
              utf8_from_utf16(document) + "\n" + utf8_from_utf16(scratch_.path(u"shell test")) + "\n");
    DeleteFileW(wide(document));
}

TEST_F(ShellFallback, AnAddressOpensThroughTheShellAndCanBeKeptWithoutPipes) {
    const std::intptr_t program = run_program(u"blobsmith-test:page/1", {}, {}, PB_Program_Keep);
    const auto record = program_record(program);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->process_id, -1);
    EXPECT_EQ(record->input + record->output + record->error, 0u);
    EXPECT_FALSE(marker_exists());
    const std::string opened = release_handler_and_read_marker();
    EXPECT_EQ(opened.substr(0, opened.find('\n')), "blobsmith-test:page/1");
    if (record->process) {
        EXPECT_EQ(exit_code_after_end(record->process), 0u);
    }
    close_program(program);
}

// The processes this one started that still run and are not in `known`.
std::set<DWORD> new_children(const std::set<DWORD>& known = {}) {
    std::set<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() && !known.count(entry.th32ProcessID))
            found.insert(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return found;
}

TEST_F(ShellFallback, PipesKeepTheShellOut) {
    const std::u16string document = folder_ + u"piped.blobsmithtest";
    HANDLE file = CreateFileW(wide(document), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    const std::set<DWORD> before = new_children();
    EXPECT_EQ(run_program(document, {}, {}, PB_Program_Keep | PB_Program_ReadOutput), 0);
    // The shell starts the handler before it returns (no asynchronous
    // requests), and the handler waits for the event: had the shell been
    // asked, the handler would run now.
    EXPECT_EQ(new_children(before), std::set<DWORD>{});

    // Without pipes the same document does start its handler, and the check
    // above sees it.
    const std::intptr_t program = run_program(document, {}, {}, PB_Program_Keep);
    ASSERT_NE(program, 0);
    EXPECT_EQ(new_children(before).size(), 1u);
    const std::string opened = release_handler_and_read_marker();
    EXPECT_EQ(opened.substr(0, opened.find('\n')), utf8_from_utf16(document));
    close_program(program);
    DeleteFileW(wide(document));
}

}  // namespace
