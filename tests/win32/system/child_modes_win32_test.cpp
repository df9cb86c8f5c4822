// Child modes of this test program: when started with "--child=MODE", it runs
// that mode instead of the tests (crashes for the fatal-error filter, pipes
// and a shell handler for run_program) and ends.
#include "child_process.h"

#include "system/fatal_error.h"
#include "system/message_box.h"
#include "system/out_of_memory.h"
#include "system/run_program.h"
#include "system/threads.h"
#include "system/utf.h"
#include "system/wide.h"
#include "system/win32.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void write_to(DWORD which, const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(which), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void print(const std::string& text) {
    write_to(STD_OUTPUT_HANDLE, text);
}

std::string hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(value));
    return buffer;
}

// ---------------------------------------------------------------- crashes
// What the error routine saw, in lines the parent compares.
void report(const char* routine) {
    const ErrorRecord& record = error_record();
    int local = 0;
    const std::uintptr_t here = reinterpret_cast<std::uintptr_t>(&local);
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(record.address), &module);
    const std::uintptr_t distance = record.esp > here ? record.esp - here : here - record.esp;
    print(std::string("routine=") + routine + "\nmessage=" + utf8_from_utf16(error_message()) +
          "\nline=" + std::to_string(error_line()) + "\nfile=" + utf8_from_utf16(error_file()) +
          "\ntarget=" + std::to_string(record.target) + "\ncode=" + hex(record.code) +
          "\naddress=" + (module == GetModuleHandleW(nullptr) ? "in-program" : "elsewhere") +
          "\nstack=" + (distance < (1u << 20) ? "near" : "far") + "\neax=" + hex(record.eax) + "\n");
}

void first_routine() {
    report("first");
}
void second_routine() {
    report("second");
}
void stack_routine() {
    print("routine=stack\nmessage=" + utf8_from_utf16(error_message()) + "\n");
}
void crashing_routine() {
    print("routine=crashing\n");
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

// The routine of a program with a window: the box a program shows.
void box_routine() {
    print("routine=box\n");
    message_box(u"Fatal test box", error_message(), 0);
    print("box closed\n");
}

// A visible window of this thread, made the foreground window.
HWND foreground_window() {
    HWND window = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    return window;
}

// Where blocks that must be allocated go, so that the compiler keeps each new.
char* volatile g_kept = nullptr;

int read_null() {
    volatile int* volatile nowhere = nullptr;
    return *nowhere;
}

void crash_on_worker(void*) {
    set_current_line(55);
    read_null();
}

int recurse(int depth) {
    if (depth < 0)
        return 0;  // never: the stack runs out first
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return recurse(depth + 1) + frame[0];
}

// ---------------------------------------------------------------- streams
std::string read_standard_input() {
    return read_pipe(reinterpret_cast<std::uintptr_t>(GetStdHandle(STD_INPUT_HANDLE)));
}

std::u16string current_directory() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 2, buffer);
    return from_wide(buffer, length);
}

// ---------------------------------------------------------------- modes
int run_mode(const std::u16string& mode, const std::vector<std::u16string>& arguments) {
    if (mode == u"crash-null") {
        set_error_handler(first_routine);
        set_error_handler(second_routine);
        set_current_line(100);
        set_current_line(4321);
        return read_null();
    }
    if (mode == u"crash-div") {
        static constexpr std::u16string_view kFiles[] = {u"Main", u"generator"};
        set_source_files(kFiles, 2);
        set_error_handler(second_routine);
        set_current_line(321, 1);
        volatile int dividend = 0x1234567;
        volatile int zero = 0;
        return dividend / zero;
    }
    if (mode == u"crash-worker") {
        set_error_handler(second_routine);
        if (!create_thread(crash_on_worker, nullptr))
            return 102;
        Sleep(30000);
        return 101;
    }
    if (mode == u"crash-stack") {
        set_error_handler(stack_routine);
        return recurse(0);
    }
    if (mode == u"crash-stack-window") {
        if (!foreground_window())
            return 102;
        set_error_handler(box_routine);
        return recurse(0);
    }
    if (mode == u"crash-worker-then-window") {
        // The worker's box comes up while this thread runs its loop; the
        // parent then makes this thread fail too, and answers the box.
        if (!foreground_window())
            return 102;
        set_error_handler(box_routine);
        if (!create_thread(crash_on_worker, nullptr))
            return 102;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_APP)
                return read_null();
            DispatchMessageW(&msg);
        }
        return 101;
    }
    if (mode == u"failed-new") {
        set_error_handler(second_routine);
        end_process_on_failed_new();
        volatile std::size_t too_much = 0x7FFF0000u;
        std::vector<char> never;
        never.reserve(too_much);
        return 103;
    }
    if (mode == u"exhausted-new") {
        // Every byte of the address space taken, down to small blocks: the
        // routine's own allocations can only use what the failure gave back.
        set_error_handler(second_routine);
        end_process_on_failed_new();
        for (std::size_t size = std::size_t{64} << 20; size >= 16; size /= 4) {
            for (char* block = nullptr; (block = static_cast<char*>(std::malloc(size))) != nullptr;)
                g_kept = block;
        }
        for (;;)
            g_kept = new char[16];
    }
    if (mode == u"crash-in-routine") {
        set_error_handler(crashing_routine);
        return read_null();
    }
    if (mode == u"echo" || mode == u"echo-error") {
        print(read_standard_input());
        if (mode == u"echo-error")
            write_to(STD_ERROR_HANDLE, "to standard error");
        return 0;
    }
    if (mode == u"print") {
        print("hello from a kept program\n");
        return 0;
    }
    if (mode == u"where") {
        wchar_t path[MAX_PATH * 2];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
        print(utf8_from_utf16(from_wide(path, length)) + "\n" + utf8_from_utf16(current_directory()) + "\n");
        return 0;
    }
    if (mode == u"exit" && arguments.size() == 1) {
        Sleep(200);
        return std::stoi(utf8_from_utf16(arguments[0]));
    }
    if (mode == u"opened" && arguments.size() == 3) {
        // The shell's handler: waits until the parent lets it go, then
        // writes what it was opened with and where into the marker file.
        HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, wide(arguments[0]));
        if (go) {
            WaitForSingleObject(go, 20000);
            CloseHandle(go);
        }
        const std::string text = utf8_from_utf16(arguments[2]) + "\n" + utf8_from_utf16(current_directory()) + "\n";
        HANDLE marker = CreateFileW(wide(arguments[1]), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (marker == INVALID_HANDLE_VALUE)
            return 3;
        DWORD written = 0;
        WriteFile(marker, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(marker);
        return 0;
    }
    return 2;
}

bool run_child_mode_if_asked() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return false;
    // Looked for anywhere: a program started from a misquoted command line
    // sees the rest of its path as arguments first, and must still report.
    constexpr std::u16string_view kPrefix = u"--child=";
    int first = 1;
    while (first < count && !from_wide(argv[first]).starts_with(kPrefix))
        ++first;
    if (first >= count) {
        LocalFree(argv);
        return false;
    }
    const std::u16string mode = from_wide(argv[first]).substr(kPrefix.size());
    std::vector<std::u16string> arguments;
    for (int i = first + 1; i < count; ++i)
        arguments.push_back(from_wide(argv[i]));
    LocalFree(argv);
    ExitProcess(static_cast<UINT>(run_mode(mode, arguments)));
}

// Runs before the tests: a child never reaches them.
[[maybe_unused]] const bool kChildModeRan = run_child_mode_if_asked();

}  // namespace

std::u16string this_program() {
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return from_wide(path, length);
}

std::string read_pipe(std::uintptr_t pipe) {
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(reinterpret_cast<HANDLE>(pipe), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return text;
}

ChildResult run_child(std::u16string_view mode_and_arguments) {
    ChildResult result{false, 0, {}};
    const std::intptr_t program = run_program(this_program(), u"--child=" + std::u16string(mode_and_arguments), {},
                                              PB_Program_Keep | PB_Program_ReadOutput);
    const auto record = program_record(program);
    if (!record)
        return result;
    result.output = read_pipe(record->output);
    HANDLE process = reinterpret_cast<HANDLE>(record->process);
    result.finished = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    result.exit_code = code;
    close_program(program);
    return result;
}
