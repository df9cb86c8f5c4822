// Worker threads as platform threads in a numbered list under its own lock.
#include "system/threads.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "system/handles_win32.h"
#include "system/process_lock_win32.h"

namespace {

constexpr SIZE_T kInitialStackCommit = 4096;

struct ThreadRecord {
    UniqueKernelHandle handle;
    std::intptr_t number;
};

struct ThreadList {
    ProcessLock lock;
    std::vector<ThreadRecord> records;
    std::intptr_t next_number = 1;
};

// Made on first use and never destroyed: workers may outlive main's statics.
ThreadList& thread_list() {
    static ThreadList* list = new ThreadList;
    return *list;
}

struct ThreadStart {
    ThreadProcedure procedure;
    void* argument;
};

DWORD WINAPI thread_entry(void* parameter) noexcept {
    const ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    start.procedure(start.argument);
    return 0;
}

bool has_ended(HANDLE thread) {
    return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

}  // namespace

std::intptr_t create_thread(ThreadProcedure procedure, void* argument) {
    if (!procedure)
        return 0;
    ThreadList& list = thread_list();
    std::unique_ptr<ThreadStart> start(new (std::nothrow) ThreadStart{procedure, argument});
    if (!start)
        return 0;
    UniqueKernelHandle thread(CreateThread(nullptr, kInitialStackCommit, thread_entry, start.get(), 0, nullptr));
    if (!thread)
        return 0;
    (void)start.release();  // the new thread deletes it
    ProcessLockGuard guard(list.lock);
    std::erase_if(list.records, [](const ThreadRecord& record) { return has_ended(record.handle.get()); });
    const std::intptr_t number = list.next_number++;
    list.records.push_back({std::move(thread), number});
    return number;
}

std::uintptr_t is_thread_running(std::intptr_t thread) {
    ThreadList& list = thread_list();
    ProcessLockGuard guard(list.lock);
    for (const ThreadRecord& record : list.records) {
        if (record.number == thread) {
            return has_ended(record.handle.get()) ? 0 : reinterpret_cast<std::uintptr_t>(record.handle.get());
        }
    }
    return 0;
}

void end_threads() {
    ThreadList& list = thread_list();
    ProcessLockGuard guard(list.lock);
    list.records.clear();
}
