// The Windows half of fatal error reporting: the top-level exception filter
// that records the error, runs the program's routine and ends the process.
#include "system/fatal_error.h"

#include "system/fatal_error_internal.h"
#include "system/handles_win32.h"
#include "system/win32.h"

namespace {

ErrorRoutine volatile g_routine = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_previous_filter = nullptr;
bool g_previous_remembered = false;  // the earlier filter may itself be null

// The thread reporting the first fatal error, and the thread its routine runs
// on when that is another one (0 = none).
LONG volatile g_reporting_thread = 0;
LONG volatile g_routine_thread = 0;

void fill_record(const EXCEPTION_POINTERS& info) noexcept {
    ErrorRecord& record = error_record_storage();
    const EXCEPTION_RECORD& exception = *info.ExceptionRecord;
    record.code = exception.ExceptionCode;
    record.address = reinterpret_cast<std::uintptr_t>(exception.ExceptionAddress);
    record.line = current_line();
    record.target = exception.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && exception.NumberParameters > 1
                        ? static_cast<std::uintptr_t>(exception.ExceptionInformation[1])
                        : 0;
#if defined(__i386__)
    const CONTEXT& context = *info.ContextRecord;
    record.eax = context.Eax;
    record.ebx = context.Ebx;
    record.ecx = context.Ecx;
    record.edx = context.Edx;
    record.ebp = context.Ebp;
    record.esi = context.Esi;
    record.edi = context.Edi;
    record.esp = context.Esp;
    record.eflags = context.EFlags;
#endif
}

DWORD WINAPI routine_thread_entry(void*) noexcept {
    InterlockedExchange(&g_routine_thread, static_cast<LONG>(GetCurrentThreadId()));
    g_routine();
    return 0;
}

void run_routine(DWORD code) noexcept {
    ErrorRoutine routine = g_routine;
    if (!routine)
        return;
    if (code == EXCEPTION_STACK_OVERFLOW) {
        // The failing thread has little more than its guard page left, too
        // little for a message box: the routine gets a thread of its own.
        const UniqueKernelHandle thread(CreateThread(nullptr, 0, routine_thread_entry, nullptr, 0, nullptr));
        if (thread) {
            WaitForSingleObject(thread.get(), INFINITE);
            return;
        }
    }
    routine();
}

LONG WINAPI fatal_error_filter(EXCEPTION_POINTERS* info) noexcept {
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    const UINT code = info->ExceptionRecord->ExceptionCode;
    const LONG reporter = InterlockedCompareExchange(&g_reporting_thread, self, 0);
    if (reporter != 0) {
        // The routine itself failed: end now instead of reporting forever.
        if (reporter == self || g_routine_thread == self)
            TerminateProcess(GetCurrentProcess(), code);
        // Another thread is already reporting, and the process ends with it.
        for (;;)
            Sleep(INFINITE);
    }
    fill_record(*info);
    mark_fatal_error_reporting(true);
    run_routine(code);
    // The exception code, not 0: a crashed program must not look successful.
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void set_error_handler(ErrorRoutine routine) noexcept {
    g_routine = routine;
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(fatal_error_filter);
    if (!g_previous_remembered && previous != fatal_error_filter) {
        g_previous_filter = previous;
        g_previous_remembered = true;
    }
}

void restore_error_filter() noexcept {
    if (!g_previous_remembered)
        return;
    SetUnhandledExceptionFilter(g_previous_filter);
    g_previous_filter = nullptr;
    g_previous_remembered = false;
}
