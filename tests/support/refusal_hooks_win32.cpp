// blobsmith-refusals.dll: hooks through which a test makes the system refuse
// Blobsmith.exe something, from outside the program. The test installs one
// for the whole session (SetWindowsHookExW, WH_CBT, thread 0); the system loads
// this library into every process that creates or activates a window, and the
// hooks act only inside Blobsmith.exe:
//   refuse_window_hook  its top-level windows of the window library's classes
//                       are not created (the window that cannot open);
//   refuse_thread_hook  its next CreateThread fails with "not enough memory",
//                       later ones work (a Copy whose thread cannot start);
//   refuse_clipboard_hook  SetClipboardData fails (after the clipboard was
//                       emptied), access denied;
//   full_clipboard_hook the same, for want of memory;
//   refuse_clipboard_memory_hook  GlobalAlloc fails (no memory for the
//                       clipboard's copy of a text);
//   slow_clipboard_hook SetClipboardData first sets the event named
//                       kClipboardSettingEvent, if there is one, and waits
//                       1.5 s (a program closed while it sets the clipboard);
//   refuse_shell_hook   ShellExecuteExW finds no program for what it is given
//                       (an address that nothing on the computer opens);
//   refuse_posting_window_hook  its posting window (the first window it
//                       makes) is not created;
//   refuse_drop_hook    RegisterDragDrop fails for want of memory (a window
//                       that cannot take drops).
#include "support/refusal_hooks_win32.h"
#include "support/import_slot_win32.h"
#include "system/win32.h"

#include <ole2.h>
#include <shellapi.h>

namespace {

bool ends_with_no_case(const wchar_t* text, const wchar_t* end) {
    const int n = lstrlenW(text), m = lstrlenW(end);
    return n >= m && lstrcmpiW(text + n - m, end) == 0;
}

bool in_the_program() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return n > 0 && n < MAX_PATH && ends_with_no_case(path, L"\\Blobsmith.exe");
}

using CreateThreadProcedure =
    HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
CreateThreadProcedure g_create_thread = nullptr;
LONG g_refusals_left = 1;

HANDLE WINAPI refused_create_thread(LPSECURITY_ATTRIBUTES security,
                                    SIZE_T stack,
                                    LPTHREAD_START_ROUTINE start,
                                    LPVOID parameter,
                                    DWORD flags,
                                    LPDWORD id) noexcept {
    if (InterlockedDecrement(&g_refusals_left) >= 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return g_create_thread(security, stack, start, parameter, flags, id);
}

using SetClipboardDataProcedure = HANDLE(WINAPI*)(UINT, HANDLE);
SetClipboardDataProcedure g_set_clipboard_data = nullptr;

HANDLE WINAPI refused_set_clipboard_data(UINT, HANDLE) noexcept {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

HANDLE WINAPI full_set_clipboard_data(UINT, HANDLE) noexcept {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

HANDLE WINAPI slow_set_clipboard_data(UINT format, HANDLE data) noexcept {
    if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, kClipboardSettingEvent)) {
        SetEvent(event);
        CloseHandle(event);
    }
    Sleep(1500);
    return g_set_clipboard_data(format, data);
}

using GlobalAllocProcedure = HGLOBAL(WINAPI*)(UINT, SIZE_T);
GlobalAllocProcedure g_global_alloc = nullptr;

HGLOBAL WINAPI refused_global_alloc(UINT, SIZE_T) noexcept {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

bool g_shell_diverted = false;
bool g_drop_diverted = false;

HRESULT WINAPI refused_register_drag_drop(HWND, IDropTarget*) noexcept {
    return E_OUTOFMEMORY;
}

BOOL WINAPI refused_shell_execute(SHELLEXECUTEINFOW*) noexcept {
    SetLastError(ERROR_NO_ASSOCIATION);
    return FALSE;
}

// Diverts the program's SetClipboardData on the first hook call inside it.
LRESULT divert_clipboard(int code, WPARAM wparam, LPARAM lparam, SetClipboardDataProcedure replacement) {
    if (code >= 0 && !g_set_clipboard_data && in_the_program()) {
        g_set_clipboard_data = reinterpret_cast<SetClipboardDataProcedure>(
            divert_import("SetClipboardData", reinterpret_cast<void*>(replacement)));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK refuse_window_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code == HCBT_CREATEWND && in_the_program()) {
        const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lparam);
        wchar_t name[64] = {};
        GetClassNameW(reinterpret_cast<HWND>(wparam), name, 64);
        name[12] = 0;  // the prefix of "WindowClass_<number>"
        const bool top_level = create && create->lpcs && !(create->lpcs->style & WS_CHILD);
        if (top_level && lstrcmpW(name, L"WindowClass_") == 0)
            return 1;  // refused: CreateWindowExW returns null
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK refuse_thread_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    // The first hook call in the program, on the GUI thread (where Copy starts
    // its thread): no thread of the program can be inside CreateThread's slot.
    if (code >= 0 && !g_create_thread && in_the_program()) {
        g_create_thread = reinterpret_cast<CreateThreadProcedure>(
            divert_import("CreateThread", reinterpret_cast<void*>(&refused_create_thread)));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    refuse_clipboard_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    return divert_clipboard(code, wparam, lparam, &refused_set_clipboard_data);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    refuse_clipboard_memory_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    // Only the clipboard's text takes global memory in the program.
    if (code >= 0 && !g_global_alloc && in_the_program()) {
        g_global_alloc = reinterpret_cast<GlobalAllocProcedure>(
            divert_import("GlobalAlloc", reinterpret_cast<void*>(&refused_global_alloc)));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK full_clipboard_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    return divert_clipboard(code, wparam, lparam, &full_set_clipboard_data);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK slow_clipboard_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    return divert_clipboard(code, wparam, lparam, &slow_set_clipboard_data);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK refuse_shell_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code >= 0 && !g_shell_diverted && in_the_program())
        g_shell_diverted = divert_import("ShellExecuteExW", reinterpret_cast<void*>(&refused_shell_execute)) != nullptr;
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    refuse_posting_window_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code == HCBT_CREATEWND && in_the_program()) {
        wchar_t name[32] = {};
        GetClassNameW(reinterpret_cast<HWND>(wparam), name, 32);
        if (lstrcmpW(name, L"PostEventClass") == 0)
            return 1;  // refused: CreateWindowExW returns null
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK refuse_drop_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    // The first hook call in the program comes with its posting window, long
    // before its main window registers for drops.
    if (code >= 0 && !g_drop_diverted && in_the_program())
        g_drop_diverted =
            divert_import("RegisterDragDrop", reinterpret_cast<void*>(&refused_register_drag_drop)) != nullptr;
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
