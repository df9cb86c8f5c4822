// blobsmith-drag-source: drags a list of files onto a point of the screen with
// real input, so that tests can drop files on a window of another process.
//
//   blobsmith-drag-source.exe --to X,Y [--from X,Y] [--keys shift|ctrl|alt|ctrl+shift]
//                             [--effects N] [--hold MS] [--refuse | --malformed] PATH... | --empty
//
// It opens a small window at --from (default 40,40), presses the left button on
// it with SendInput, calls DoDragDrop from the button-down with a file-list
// (CF_HDROP) data object, moves the mouse to --to while holding the keys,
// waits there --hold milliseconds (default 700; the platform polls about every
// 50 ms) and releases. --effects are the allowed actions (default 7: copy,
// move, link). --refuse offers the file list but fails to hand it over;
// --malformed hands over a block whose last name has no terminator; --empty
// a list of no names at all.
// Prints "effect=N result=0xHHHHHHHH release=T" (T: the performance counter
// when the button was released, for figures measured from the drop) and exits 0 when the target took the drop,
// 1 when the drag ended without a drop, 2 on bad arguments, 3 when the drag
// never started.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "support/file_data_object_win32.h"
#include "system/win32.h"

#include <shellapi.h>

namespace {

struct Options {
    POINT to{-1, -1};
    POINT from{40, 40};
    std::vector<WORD> keys;
    DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DWORD hold_ms = 700;
    FileListOptions list;
    bool empty = false;  // a file list of no names at all
};

Options g_options;
HANDLE g_drag_started = nullptr;
DWORD g_effect = 0;
HRESULT g_result = E_FAIL;
bool g_dragged = false;
LARGE_INTEGER g_release{};

class DropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out)
            return E_INVALIDARG;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) noexcept override {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) noexcept override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    LONG refs_ = 1;
};

// ---------------------------------------------------------------- real input

void send_mouse(POINT p, DWORD flags) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((p.x * 65535LL + w / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535LL + h / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &in, sizeof in);
}

void send_key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

DWORD WINAPI drive_input(void*) noexcept {
    Sleep(300);
    send_mouse(g_options.from, 0);
    Sleep(100);
    for (WORD k : g_options.keys) {
        send_key(k, false);
        Sleep(30);
    }
    send_mouse(g_options.from, MOUSEEVENTF_LEFTDOWN);
    WaitForSingleObject(g_drag_started, 5000);
    Sleep(100);
    const int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        POINT p{g_options.from.x + (g_options.to.x - g_options.from.x) * i / steps,
                g_options.from.y + (g_options.to.y - g_options.from.y) * i / steps};
        send_mouse(p, 0);
        Sleep(50);
    }
    // Small moves over the target keep the drag loop busy until it has seen it.
    for (DWORD waited = 0; waited < g_options.hold_ms; waited += 50) {
        POINT p = g_options.to;
        p.x += (waited / 50) % 2;
        send_mouse(p, 0);
        Sleep(50);
    }
    send_mouse(g_options.to, 0);
    Sleep(60);
    QueryPerformanceCounter(&g_release);
    send_mouse(g_options.to, MOUSEEVENTF_LEFTUP);
    Sleep(200);
    for (auto it = g_options.keys.rbegin(); it != g_options.keys.rend(); ++it)
        send_key(*it, true);
    return 0;
}

// ---------------------------------------------------------------- the source window

LRESULT CALLBACK source_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    switch (message) {
        case WM_LBUTTONDOWN:
            if (!g_dragged) {
                g_dragged = true;
                SetEvent(g_drag_started);
                auto* data = new FileDataObject(g_options.list);
                auto* source = new DropSource;
                g_result = DoDragDrop(data, source, g_options.effects, &g_effect);
                data->Release();
                source->Release();
                PostQuitMessage(0);
            }
            return 0;
        case WM_TIMER:
            PostQuitMessage(0);  // the button-down never came
            return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool parse_point(const wchar_t* text, POINT& p) {
    wchar_t* end = nullptr;
    p.x = std::wcstol(text, &end, 10);
    if (!end || *end != L',')
        return false;
    p.y = std::wcstol(end + 1, &end, 10);
    return end && *end == 0;
}

bool parse_keys(std::wstring text, std::vector<WORD>& keys) {
    text += L'+';
    std::size_t start = 0;
    for (std::size_t plus; (plus = text.find(L'+', start)) != std::wstring::npos; start = plus + 1) {
        const std::wstring k = text.substr(start, plus - start);
        if (k == L"shift")
            keys.push_back(VK_SHIFT);
        else if (k == L"ctrl")
            keys.push_back(VK_CONTROL);
        else if (k == L"alt")
            keys.push_back(VK_MENU);
        else if (!k.empty() && k != L"none")
            return false;
    }
    return true;
}

bool parse(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == L"--to" && has_value) {
            if (!parse_point(argv[++i], g_options.to))
                return false;
        } else if (a == L"--from" && has_value) {
            if (!parse_point(argv[++i], g_options.from))
                return false;
        } else if (a == L"--keys" && has_value) {
            if (!parse_keys(argv[++i], g_options.keys))
                return false;
        } else if (a == L"--effects" && has_value) {
            g_options.effects = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
        } else if (a == L"--hold" && has_value) {
            g_options.hold_ms = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
        } else if (a == L"--refuse") {
            g_options.list.refuse = true;
        } else if (a == L"--malformed") {
            g_options.list.malformed = true;
        } else if (a == L"--empty") {
            g_options.empty = true;
        } else if (a.rfind(L"--", 0) == 0) {
            return false;
        } else {
            g_options.list.paths.push_back(a);
        }
    }
    return g_options.to.x >= 0 && (!g_options.list.paths.empty() || g_options.empty);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || !parse(argc, argv)) {
        std::fputs(
            "usage: blobsmith-drag-source --to X,Y [--from X,Y] [--keys K+K] [--effects N] [--hold MS] "
            "[--refuse|--malformed] PATH... | --empty\n",
            stderr);
        return 2;
    }
    LocalFree(argv);
    if (FAILED(OleInitialize(nullptr)))
        return 3;
    g_drag_started = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    WNDCLASSW wc{};
    wc.lpfnWndProc = source_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_HIGHLIGHT + 1));
    wc.lpszClassName = L"BlobsmithDragSource";
    RegisterClassW(&wc);
    HWND hwnd =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"drag source", WS_POPUP | WS_VISIBLE,
                        g_options.from.x - 30, g_options.from.y - 30, 60, 60, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 3;
    // Keys reach the foreground window's thread: the drag's key state is read there.
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    SetTimer(hwnd, 1, 15000, nullptr);
    HANDLE input = CreateThread(nullptr, 0, drive_input, nullptr, 0, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (input) {
        WaitForSingleObject(input, 10000);
        CloseHandle(input);
    }
    DestroyWindow(hwnd);
    OleUninitialize();
    std::printf("effect=%lu result=0x%08lX release=%lld\n", static_cast<unsigned long>(g_effect),
                static_cast<unsigned long>(g_result), static_cast<long long>(g_release.QuadPart));
    std::fflush(stdout);
    if (!g_dragged)
        return 3;
    return g_result == DRAGDROP_S_DROP && g_effect != DROPEFFECT_NONE ? 0 : 1;
}
