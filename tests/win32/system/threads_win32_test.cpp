// Worker threads by number, on real platform threads.
#include "system/threads.h"

#include "system/win32.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void wait_for_event(void* event) {
    WaitForSingleObject(static_cast<HANDLE>(event), 20000);
}
void do_nothing(void*) {}

// Far more stack than the first commitment: the stack must still grow.
void use_deep_stack(void* result) {
    volatile char block[256 * 1024];
    std::memset(const_cast<char*>(block), 7, sizeof block);
    *static_cast<volatile int*>(result) = block[sizeof block - 1];
}

bool wait_until_ended(std::uintptr_t handle) {
    return WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 20000) == WAIT_OBJECT_0;
}

TEST(Threads, NumbersRunOnAndAreNeverReused) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const std::intptr_t first = create_thread(wait_for_event, go);
    const std::intptr_t second = create_thread(wait_for_event, go);
    const std::intptr_t third = create_thread(wait_for_event, go);
    ASSERT_GE(first, 1);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(third, second + 1);
    const std::uintptr_t handles[] = {is_thread_running(first), is_thread_running(second), is_thread_running(third)};
    SetEvent(go);
    for (std::uintptr_t handle : handles)
        ASSERT_TRUE(wait_until_ended(handle));
    // The ended threads leave the list now; their numbers do not come back.
    const std::intptr_t fourth = create_thread(wait_for_event, go);
    EXPECT_EQ(fourth, third + 1);
    EXPECT_EQ(is_thread_running(first), 0u);
    EXPECT_EQ(is_thread_running(second), 0u);
    CloseHandle(go);
}

TEST(Threads, RunningUntilTheProcedureReturns) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const std::intptr_t thread = create_thread(wait_for_event, go);
    ASSERT_NE(thread, 0);
    const std::uintptr_t handle = is_thread_running(thread);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(go);
    ASSERT_TRUE(wait_until_ended(handle));
    EXPECT_EQ(is_thread_running(thread), 0u);
    EXPECT_EQ(is_thread_running(thread + 1000), 0u);
    EXPECT_EQ(is_thread_running(0), 0u);
    CloseHandle(go);
}

TEST(Threads, ProcedureGetsItsArgumentAndAFullStack) {
    volatile int result = 0;
    const std::intptr_t thread = create_thread(use_deep_stack, const_cast<int*>(&result));
    ASSERT_NE(thread, 0);
    const std::uintptr_t handle = is_thread_running(thread);
    if (handle) {
        ASSERT_TRUE(wait_until_ended(handle));
    }
    EXPECT_EQ(result, 7);
}

TEST(Threads, EndThreadsForgetsRunningThreadsWithoutStoppingThem) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const std::intptr_t thread = create_thread(wait_for_event, go);
    HANDLE own = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(is_thread_running(thread)),
                                GetCurrentProcess(), &own, SYNCHRONIZE, FALSE, 0));
    end_threads();
    EXPECT_EQ(is_thread_running(thread), 0u);
    EXPECT_EQ(WaitForSingleObject(own, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // still running
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(own, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(own);
    CloseHandle(go);
    EXPECT_GT(create_thread(do_nothing, nullptr), thread);  // numbering goes on after end_threads
}

}  // namespace
