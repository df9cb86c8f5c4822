// The posting window and its registered message; post_event builds the record
// on the posting thread and the window procedure queues it on the GUI thread.
#include "window/posted_events.h"

#include <atomic>

#include "system/gui_thread.h"
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
};

constexpr wchar_t kClassName[] = L"PostEventClass";

// Read by posting threads while the GUI thread starts or ends.
std::atomic<HWND> g_window{nullptr};
std::atomic<UINT> g_message{0};
// Goes with every record as wParam. The message's number is known to every
// process (registered by name) and a broadcast reaches the window: without
// the cookie, any program could make this one free whatever lParam names.
std::atomic<WPARAM> g_cookie{0};

WPARAM new_cookie() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const auto mixed = static_cast<std::uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15ull ^
                       (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^
                       reinterpret_cast<std::uintptr_t>(&now);
    const auto cookie = static_cast<WPARAM>(mixed ^ (mixed >> 29));
    return cookie != 0 ? cookie : 1;
}

void free_record(PostedEventRecord* record) {
    HeapFree(GetProcessHeap(), 0, record);
}

LRESULT CALLBACK posting_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message != 0 && message == g_message.load() && wparam == g_cookie.load()) {
        if (auto* record = reinterpret_cast<PostedEventRecord*>(lparam)) {
            queue_event(record->event, record->object, record->window, record->type, record->data, nullptr,
                        kQueueAlways);
            free_record(record);
        }
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

void init_posted_events() {
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
    RegisterClassExW(&wc);
    g_message = RegisterWindowMessageW(L"PB_PostEventMessage");
    g_cookie = new_cookie();
    init_event_queue();
    g_window = CreateWindowExW(0, kClassName, L"", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
}

void end_posted_events() {
    HWND hwnd = g_window.exchange(nullptr);
    if (hwnd) {
        // Records still on their way would be lost with the window.
        MSG msg;
        const UINT message = g_message.load();
        while (PeekMessageW(&msg, hwnd, message, message, PM_REMOVE)) {
            if (msg.wParam == g_cookie.load())
                free_record(reinterpret_cast<PostedEventRecord*>(msg.lParam));
        }
        DestroyWindow(hwnd);
    }
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    end_event_queue();
}

bool post_event(std::int32_t event, std::intptr_t object, std::intptr_t window, std::int32_t type, void* data) {
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
    if (!PostMessageW(hwnd, g_message.load(), g_cookie.load(), reinterpret_cast<LPARAM>(record))) {
        free_record(record);
        return false;
    }
    return true;
}
