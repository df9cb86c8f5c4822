// The exception filter in child processes that really crash.
#include "system/fatal_error.h"

#include "child_process.h"
#include "system/win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(FatalError, NullReadRunsTheLastRoutineWithPlaceAndEndsWithTheCode) {
    const ChildResult child = run_child(u"crash-null");
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC0000005u);
    EXPECT_EQ(child.output.find("routine=first"), std::string::npos) << child.output;
    EXPECT_EQ(child.output.substr(0, child.output.find("\neax=")),
              "routine=second\nmessage=Invalid memory access\nline=4321\nfile=Main\ntarget=0\ncode=c0000005\n"
              "address=in-program\nstack=near");
}

// A container that cannot grow ends the program through the error routine
// with the system's no-memory code, instead of throwing through noexcept code.
TEST(FatalError, AFailedNewEndsThroughTheRoutineOnceTheProgramAsks) {
    const ChildResult child = run_child(u"failed-new");
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC0000017u);
    EXPECT_EQ(child.output.substr(0, child.output.find('\n')), "routine=second") << child.output;
}

// With no memory left at all, the routine still runs and can build its report.
TEST(FatalError, ExhaustedMemoryIsStillReported) {
    const ChildResult child = run_child(u"exhausted-new");
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC0000017u);
    EXPECT_EQ(child.output.substr(0, child.output.find("\nline=")), "routine=second\nmessage=Unknown error code")
        << child.output;
}

TEST(FatalError, IntegerDivisionByZeroReportsItsFileAndRegisters) {
    const ChildResult child = run_child(u"crash-div");
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC0000094u);
    EXPECT_EQ(child.output,
              "routine=second\nmessage=Division by zero \nline=321\nfile=generator\ntarget=0\ncode=c0000094\n"
              "address=in-program\nstack=near\neax=01234567\n");
}

TEST(FatalError, ACrashOnAWorkerThreadIsReportedToo) {
    const ChildResult child = run_child(u"crash-worker");
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC0000005u);
    EXPECT_NE(child.output.find("routine=second\nmessage=Invalid memory access\nline=55\n"), std::string::npos)
        << child.output;
}

TEST(FatalError, ARoutineThatCrashesItselfStillEndsTheProcess) {
    const ChildResult child = run_child(u"crash-in-routine");
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC0000005u);
    EXPECT_EQ(child.output, "routine=crashing\n");
}

TEST(FatalError, StackOverflowRunsTheRoutine) {
    const ChildResult child = run_child(u"crash-stack");
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC00000FDu);
    EXPECT_EQ(child.output, "routine=stack\nmessage=Stack overflow\n");
}

// Ends the child process that owns the window, with exit code 1.
void end_hung_child(HWND window) {
    DWORD child = 0;
    if (window)
        GetWindowThreadProcessId(window, &child);
    if (HANDLE process = child ? OpenProcess(PROCESS_TERMINATE, FALSE, child) : nullptr) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

// The routine of an overflow runs on a thread of its own while the failing
// thread waits: its box must not take that thread's window for its owner,
// which could never answer, so the box would never appear.
TEST(FatalError, AnOverflowOnAThreadWithAWindowStillShowsTheBox) {
    std::atomic<bool> clicked{false};
    std::thread closer([&clicked] {
        for (int waited = 0; waited < 200 && !clicked; ++waited) {
            if (HWND box = FindWindowW(nullptr, L"Fatal test box")) {
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                clicked = true;
            }
            Sleep(50);
        }
        // No box after 10 s: the child hangs; end it, so that the test fails.
        if (!clicked)
            end_hung_child(FindWindowW(L"STATIC", L"owner"));
    });
    const ChildResult child = run_child(u"crash-stack-window");
    clicked = true;
    closer.join();
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC00000FDu);
    EXPECT_EQ(child.output, "routine=box\nbox closed\n");
}

// A worker's box is up when the window's thread fails as well; that thread
// then waits for good. Answered, the box must still close and the process end.
TEST(FatalError, AWindowThreadFailingUnderAWorkersBoxStillLetsTheProcessEnd) {
    std::atomic<bool> done{false};
    std::thread closer([&done] {
        HWND box = nullptr;
        for (int waited = 0; waited < 200 && !done && !(box = FindWindowW(nullptr, L"Fatal test box")); ++waited)
            Sleep(50);
        HWND owner = FindWindowW(L"STATIC", L"owner");
        if (box && owner) {
            PostMessageW(owner, WM_APP, 0, 0);
            // Answered only until the window's thread has failed.
            DWORD_PTR answer = 0;
            for (int waited = 0; waited < 100 && SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_BLOCK, 100, &answer);
                 ++waited)
                Sleep(50);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        for (int waited = 0; waited < 200 && !done; ++waited)
            Sleep(50);
        // Still running 10 s on: the child hangs; end it, so that the test fails.
        if (!done)
            end_hung_child(owner);
    });
    const ChildResult child = run_child(u"crash-worker-then-window");
    done = true;
    closer.join();
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exit_code, 0xC0000005u);
    EXPECT_EQ(child.output, "routine=box\nbox closed\n");
}

LONG WINAPI earlier_filter(EXCEPTION_POINTERS*) {
    return EXCEPTION_CONTINUE_SEARCH;
}
void routine() {}

TEST(FatalError, RestoreBringsBackTheFilterFromBeforeTheFirstHandler) {
    LPTOP_LEVEL_EXCEPTION_FILTER original = SetUnhandledExceptionFilter(earlier_filter);
    set_error_handler(routine);
    set_error_handler(routine);  // must not remember the first call's own filter
    restore_error_filter();
    EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), earlier_filter);
    restore_error_filter();  // nothing remembered any more: no change
    EXPECT_EQ(SetUnhandledExceptionFilter(original), nullptr);
}

}  // namespace
