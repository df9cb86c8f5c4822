// A stand-in for the editing component's library in the gadget tests: loading
// it registers a global window class named like the component's, which keeps
// the code page it is given and tells its parent of a left click.
#include "system/win32.h"

namespace {

constexpr UINT kSetCodePage = 2037;
constexpr UINT kGetCodePage = 2137;
constexpr UINT kClickNotification = 2001;

LRESULT CALLBACK stand_in_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    switch (message) {
        case kSetCodePage:
            SetWindowLongPtrW(hwnd, 0, static_cast<LONG_PTR>(wparam));
            return 0;
        case kGetCodePage:
            return GetWindowLongPtrW(hwnd, 0);
        case WM_LBUTTONUP: {
            NMHDR header{hwnd, static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd, GWLP_ID)), kClickNotification};
            return SendMessageW(GetParent(hwnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        }
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
        wc.lpfnWndProc = stand_in_proc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = instance;
        wc.lpszClassName = L"Scintilla";
        return RegisterClassExW(&wc) != 0;
    }
    return TRUE;
}
