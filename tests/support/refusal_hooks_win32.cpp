// blobsmith-refusals.dll: hooks through which a test makes the system refuse
// Blobsmith.exe something, from outside the program. The test installs one
// for the whole session (SetWindowsHookExW, WH_CBT, thread 0); the system loads
// this library into every process that creates or activates a window, and the
// hooks act only inside Blobsmith.exe:
//   refuse_window_hook  its top-level windows of the window library's classes
//                       are not created (the window that cannot open);
//   refuse_thread_hook  its next CreateThread fails with "not enough memory",
//                       later ones work (a Copy whose thread cannot start).
#include "system/win32.h"

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

// Points the program's own import of CreateThread (its import address table)
// at refused_create_thread; the system's threads are not concerned.
void divert_create_thread() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (!d->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(name->Name), "CreateThread") != 0)
                continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                return;
            g_create_thread = reinterpret_cast<CreateThreadProcedure>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&refused_create_thread);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
        }
    }
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
    if (code >= 0 && !g_create_thread && in_the_program())
        divert_create_thread();
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
