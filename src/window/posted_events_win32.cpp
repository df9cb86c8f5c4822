// The posting window and its registered message; post_event builds the record
// on the posting thread and the window procedure queues it on the GUI thread.
#include "window/posted_events.h"

#include <atomic>
#include <new>
#include <unordered_set>

#include "system/gui_thread.h"
#include "system/process_lock_win32.h"
#include "system/win32.h"
#include "window/event_queue.h"

namespace {

// Allocated by the poster from the process heap, freed by the receiver.
struct PostedEventRecord {
    std::int32_t unused1;
    std::int32_t event;
    std::int32_t unused2;
    std::intptr_t object;
    std::intptr_t window;
    std::int32_t type;
    void* data;
    EventDataFree free_data;
};

constexpr wchar_t kClassName[] = L"PostEventClass";

// Read by posting threads while the GUI thread starts or ends.
std::atomic<HWND> g_window{nullptr};
std::atomic<UINT> g_message{0};

// The records on their way. The message's number is known to every process
// (registered by name) and a broadcast reaches the window, so an lParam is
// used only if it names one of them: no other program can make this one read
// or free memory it chose. Made on first use and never destroyed, like its lock.
struct LiveRecords {
    ProcessLock lock;
    std::unordered_set<PostedEventRecord*> records;
};
LiveRecords& live_records() {
    static LiveRecords* live = new LiveRecords;
    return *live;
}

void free_record(PostedEventRecord* record) {
    HeapFree(GetProcessHeap(), 0, record);
}

// Takes the record out of the live set; null when lParam names none.
PostedEventRecord* claim_record(LPARAM lparam) {
    auto* record = reinterpret_cast<PostedEventRecord*>(lparam);
    LiveRecords& live = live_records();
    ProcessLockGuard guard(live.lock);
    return live.records.erase(record) != 0 ? record : nullptr;
}

LRESULT CALLBACK posting_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message != 0 && message == g_message.load()) {
        if (PostedEventRecord* record = claim_record(lparam)) {
            queue_event(record->event, record->object, record->window, record->type, record->data, record->free_data,
                        kQueueAlways);
            free_record(record);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

bool init_posted_events() {
    // The thread that starts the window system owns the windows.
    set_gui_thread();
    if (g_window.load())
        end_posted_events();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = posting_window_proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    const bool registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    const DWORD register_error = GetLastError();
    g_message = RegisterWindowMessageW(L"PB_PostEventMessage");
    init_event_queue();
    if (!registered) {
        SetLastError(register_error);
        return false;
    }
    HWND hwnd = CreateWindowExW(0, kClassName, L"", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    g_window = hwnd;
    return hwnd != nullptr;
}

void end_posted_events() {
    HWND hwnd = g_window.exchange(nullptr);
    if (hwnd)
        DestroyWindow(hwnd);
    // Records still on their way are lost with the window, whether their
    // message was queued or is still being posted by a thread that read the
    // window before it went: theirs, and their data, are freed here.
    std::unordered_set<PostedEventRecord*> left;
    {
        LiveRecords& live = live_records();
        ProcessLockGuard guard(live.lock);
        left.swap(live.records);
    }
    for (PostedEventRecord* record : left) {
        if (record->free_data && record->data)
            record->free_data(record->data);
        free_record(record);
    }
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    end_event_queue();
}

bool post_event(std::int32_t event,
                std::intptr_t object,
                std::intptr_t window,
                std::int32_t type,
                void* data,
                EventDataFree free_data) {
    HWND hwnd = g_window.load();
    if (!hwnd)
        return false;
    auto* record =
        static_cast<PostedEventRecord*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(PostedEventRecord)));
    if (!record)
        return false;
    record->event = event;
    record->object = object;
    record->window = window;
    record->type = type;
    record->data = data;
    record->free_data = free_data;
    LiveRecords& live = live_records();
    try {
        ProcessLockGuard guard(live.lock);
        live.records.insert(record);
    } catch (const std::bad_alloc&) {
        free_record(record);
        return false;
    }
    if (!PostMessageW(hwnd, g_message.load(), 0, reinterpret_cast<LPARAM>(record))) {
        // The end of the posting window may have taken the record, and its
        // data, meanwhile: then the data is no longer the caller's.
        if (!claim_record(reinterpret_cast<LPARAM>(record)))
            return true;
        free_record(record);
        return false;
    }
    return true;
}
