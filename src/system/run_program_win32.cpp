// External programs through CreateProcessW, with ShellExecuteExW as the
// fallback for documents and addresses.
#include "system/run_program.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "system/handles_win32.h"
#include "system/process_lock_win32.h"
#include "system/program_command_line.h"
#include "system/wide.h"

#include <shellapi.h>

namespace {

constexpr ULONG kShellMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
static_assert(kShellMask == 0x540);
constexpr std::uint32_t kAnyPipe =
    PB_Program_ReadOutput | PB_Program_WriteInput | PB_Program_ReadError | PB_Program_Connect;

struct ProgramList {
    ProcessLock lock;
    std::vector<std::unique_ptr<ProgramRecord>> records;
};

// Made on first use and never destroyed, like its lock.
ProgramList& program_list() {
    static ProgramList* list = new ProgramList;
    return *list;
}

HANDLE as_handle(std::uintptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
std::uintptr_t as_word(HANDLE handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

void close_record_handles(const ProgramRecord& record) {
    for (std::uintptr_t handle : {record.process, record.input, record.output, record.error}) {
        if (handle)
            CloseHandle(as_handle(handle));
    }
}

// Callers hold the list's lock.
std::vector<std::unique_ptr<ProgramRecord>>::iterator find_locked(ProgramList& list, std::intptr_t program) {
    return std::find_if(list.records.begin(), list.records.end(), [program](const auto& record) {
        return reinterpret_cast<std::intptr_t>(record.get()) == program;
    });
}

// The standard handles of a child: its ends are inheritable, ours are not.
struct StdHandles {
    UniqueKernelHandle child_input;
    UniqueKernelHandle child_output;
    UniqueKernelHandle child_error;
    UniqueKernelHandle parent_input;
    UniqueKernelHandle parent_output;
    UniqueKernelHandle parent_error;

    bool redirected() const { return child_input || child_output || child_error; }
    void close_child_ends() {
        child_input.reset();
        child_output.reset();
        child_error.reset();
    }
};

// A pipe that the platform refuses is simply not set up.
void make_pipe(UniqueKernelHandle& child_end, UniqueKernelHandle& parent_end, bool child_reads) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0))
        return;
    child_end.reset(child_reads ? read : write);
    parent_end.reset(child_reads ? write : read);
    // Our end must not reach the child: an inherited copy of the write end
    // would keep the pipe open after the child ends, and reads would never end.
    SetHandleInformation(parent_end.get(), HANDLE_FLAG_INHERIT, 0);
}

void make_std_handles(StdHandles& handles, std::uint32_t flags, const ProgramRecord* sender) {
    const bool keep = (flags & PB_Program_Keep) != 0;
    if ((flags & PB_Program_Connect) && sender && sender->output) {
        // The sender keeps its own end; the child gets an inheritable copy.
        DuplicateHandle(GetCurrentProcess(), as_handle(sender->output), GetCurrentProcess(),
                        handles.child_input.put(), 0, TRUE, DUPLICATE_SAME_ACCESS);
    } else if (keep && (flags & PB_Program_WriteInput)) {
        make_pipe(handles.child_input, handles.parent_input, true);
    }
    if (keep && (flags & PB_Program_ReadOutput))
        make_pipe(handles.child_output, handles.parent_output, false);
    if (keep && (flags & PB_Program_ReadError))
        make_pipe(handles.child_error, handles.parent_error, false);
}

// Takes over the record's handles; closes them when it cannot be kept.
std::intptr_t keep_record(const ProgramRecord& record) {
    ProgramList& list = program_list();
    std::unique_ptr<ProgramRecord> kept(new (std::nothrow) ProgramRecord(record));
    if (!kept) {
        close_record_handles(record);
        return 0;
    }
    const auto id = reinterpret_cast<std::intptr_t>(kept.get());
    ProcessLockGuard guard(list.lock);
    try {
        list.records.push_back(std::move(kept));
    } catch (...) {
        close_record_handles(record);
        return 0;
    }
    return id;
}

std::intptr_t open_with_shell(std::u16string_view program,
                              std::u16string_view parameters,
                              std::u16string_view directory,
                              std::uint32_t flags,
                              WORD show) {
    const std::u16string file(program);
    const std::u16string arguments(parameters);
    const std::u16string folder = shell_directory(program, directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = kShellMask;
    info.lpFile = wide(file);
    info.lpParameters = arguments.empty() ? nullptr : wide(arguments);
    info.lpDirectory = folder.empty() ? nullptr : wide(folder);
    info.nShow = show;
    if (!ShellExecuteExW(&info))
        return 0;
    // No process handle when the request went to a program that was running already.
    UniqueKernelHandle process(info.hProcess);
    if ((flags & PB_Program_Wait) && process)
        WaitForSingleObject(process.get(), INFINITE);
    if (!(flags & PB_Program_Keep))
        return 1;
    return keep_record({as_word(process.release()), -1, 0, 0, 0, flags});
}

}  // namespace

std::intptr_t run_program(std::u16string_view program,
                          std::u16string_view parameters,
                          std::u16string_view directory,
                          std::uint32_t flags,
                          std::intptr_t sender) {
    const WORD show = (flags & PB_Program_Hide) ? SW_HIDE : SW_SHOWNORMAL;
    std::u16string command = program_command_line(program, parameters);
    const std::u16string folder(directory);

    ProgramList& list = program_list();
    PROCESS_INFORMATION started{};
    StdHandles handles;
    BOOL ok = FALSE;
    {
        // Held while our inheritable pipe ends exist, so that a program that
        // another thread starts meanwhile cannot inherit them.
        ProcessLockGuard guard(list.lock);
        auto sending = find_locked(list, sender);
        make_std_handles(handles, flags, sending == list.records.end() ? nullptr : sending->get());

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        DWORD creation = NORMAL_PRIORITY_CLASS;
        BOOL inherit = FALSE;
        if (handles.redirected()) {
            startup.dwFlags |= STARTF_USESTDHANDLES;
            startup.hStdInput = handles.child_input ? handles.child_input.get() : GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = handles.child_output ? handles.child_output.get() : GetStdHandle(STD_OUTPUT_HANDLE);
            startup.hStdError = handles.child_error ? handles.child_error.get() : GetStdHandle(STD_ERROR_HANDLE);
            inherit = TRUE;
        } else if (flags & PB_Program_Hide) {
            creation |= CREATE_NEW_CONSOLE;
        }
        ok = CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr, inherit, creation,
                            nullptr, folder.empty() ? nullptr : wide(folder), &startup, &started);
        handles.close_child_ends();
    }

    if (!ok) {
        // Documents and addresses are not programs; with pipes asked for, the
        // shell could not honour them, so it is not tried. Our pipe ends close
        // on the way out.
        if (flags & kAnyPipe)
            return 0;
        return open_with_shell(program, parameters, directory, flags, show);
    }
    CloseHandle(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    if (flags & PB_Program_Wait)
        WaitForSingleObject(process.get(), INFINITE);
    if (!(flags & PB_Program_Keep))
        return 1;
    return keep_record({as_word(process.release()), static_cast<std::intptr_t>(started.dwProcessId),
                        as_word(handles.parent_input.release()), as_word(handles.parent_output.release()),
                        as_word(handles.parent_error.release()), flags});
}

std::optional<ProgramRecord> program_record(std::intptr_t program) {
    ProgramList& list = program_list();
    ProcessLockGuard guard(list.lock);
    auto found = find_locked(list, program);
    if (found == list.records.end())
        return std::nullopt;
    return **found;
}

void close_program_input(std::intptr_t program) {
    ProgramList& list = program_list();
    ProcessLockGuard guard(list.lock);
    auto found = find_locked(list, program);
    if (found == list.records.end() || !(*found)->input)
        return;
    CloseHandle(as_handle((*found)->input));
    (*found)->input = 0;
}

void close_program(std::intptr_t program) {
    ProgramList& list = program_list();
    ProcessLockGuard guard(list.lock);
    auto found = find_locked(list, program);
    if (found == list.records.end())
        return;
    close_record_handles(**found);
    list.records.erase(found);
}

void end_programs() {
    ProgramList& list = program_list();
    ProcessLockGuard guard(list.lock);
    for (const auto& record : list.records)
        close_record_handles(*record);
    list.records.clear();
}
