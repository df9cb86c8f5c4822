// Drives Blobsmith.exe from outside its process, as a user would: starts it,
// finds its window and controls, moves the real mouse and keyboard, drags
// files onto it with OLE (through the tests' drag-source program) and reads
// the clipboard.
#pragma once

#include "app/version.h"
#include "system/win32.h"

#include <tlhelp32.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/drag_source_launch_win32.h"
#include "system/wide.h"

namespace driver {

inline const std::u16string kProgram = u"" BLOBSMITH_BIN_DIR u"\\Blobsmith.exe";
inline const std::u16string kCli = u"" BLOBSMITH_BIN_DIR u"\\blobsmith-cli.exe";
inline constexpr wchar_t kTitle[] = L"Blobsmith v" BLOBSMITH_VERSION;

// Polls until the condition holds or the time is up.
inline bool wait_until(const std::function<bool()>& condition, DWORD milliseconds = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(25);
    }
}

// ---------------------------------------------------------------- the program
class Program {
public:
    // Waits for the main window unless told not to (a start that shows a box instead).
    explicit Program(bool wait_for_window = true) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::u16string command = u"\"" + kProgram + u"\"";
        if (!CreateProcessW(nullptr, const_cast<wchar_t*>(wide(command)), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info_))
            return;
        if (!wait_for_window)
            return;
        wait_until([&] {
            window_ = find_own_window(kTitle);
            return window_ != nullptr || exited();
        });
    }
    ~Program() {
        if (info_.hProcess) {
            if (!exited())
                TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND window() const { return window_; }
    DWORD id() const { return info_.dwProcessId; }
    HANDLE process() const { return info_.hProcess; }
    bool exited() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
    // The exit code once ended within the time, else STILL_ACTIVE.
    DWORD wait_exit(DWORD milliseconds = 10000) const {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0)
            GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

    // A visible top-level window of this process with the title (class any).
    HWND find_own_window(const wchar_t* title) const {
        struct Search {
            DWORD pid;
            const wchar_t* title;
            HWND found;
        } search{info_.dwProcessId, title, nullptr};
        struct Visit {
            static BOOL CALLBACK next(HWND hwnd, LPARAM param) {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                wchar_t text[256] = {};
                GetWindowTextW(hwnd, text, 256);
                if (pid == s->pid && IsWindowVisible(hwnd) && lstrcmpW(text, s->title) == 0) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            }
        };
        EnumWindows(Visit::next, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // A visible popup menu window of this process.
    HWND find_menu() const {
        struct Search {
            DWORD pid;
            HWND found;
        } search{info_.dwProcessId, nullptr};
        struct Visit {
            static BOOL CALLBACK next(HWND hwnd, LPARAM param) {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                wchar_t name[64] = {};
                GetClassNameW(hwnd, name, 64);
                if (pid == s->pid && IsWindowVisible(hwnd) && lstrcmpW(name, L"#32768") == 0) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            }
        };
        EnumWindows(Visit::next, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// ---------------------------------------------------------------- threads
// The ids of the process's threads now.
inline std::set<DWORD> thread_ids(DWORD process_id) {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == process_id)
            ids.insert(entry.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

// Waits for a thread of the process that is not in `known` and suspends it:
// a generation the test holds still for as long as it needs. Null if none came.
inline HANDLE suspend_new_thread(DWORD process_id, const std::set<DWORD>& known, DWORD milliseconds = 3000) {
    HANDLE thread = nullptr;
    wait_until(
        [&] {
            for (DWORD id : thread_ids(process_id)) {
                if (known.count(id))
                    continue;
                thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_QUERY_INFORMATION, FALSE, id);
                // Wine: a thread suspended while the loader still starts it
                // (holding the loader's lock) may never finish; let it begin.
                Sleep(30);
                if (thread && SuspendThread(thread) != static_cast<DWORD>(-1))
                    return true;
                if (thread)
                    CloseHandle(thread);
                thread = nullptr;
            }
            return false;
        },
        milliseconds);
    return thread;
}

// ---------------------------------------------------------------- controls
struct Control {
    HWND hwnd = nullptr;
    std::wstring class_name;
    std::wstring text;
    RECT rect{};  // in the parent window's client coordinates
};

inline std::wstring window_text(HWND hwnd) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

inline std::vector<Control> controls_of(HWND window) {
    struct Search {
        HWND window;
        std::vector<Control> found;
    } search{window, {}};
    struct Visit {
        static BOOL CALLBACK next(HWND hwnd, LPARAM param) {
            auto* s = reinterpret_cast<Search*>(param);
            Control c;
            c.hwnd = hwnd;
            wchar_t name[128] = {};
            GetClassNameW(hwnd, name, 128);
            c.class_name = name;
            c.text = window_text(hwnd);
            GetWindowRect(hwnd, &c.rect);
            MapWindowPoints(nullptr, s->window, reinterpret_cast<POINT*>(&c.rect), 2);
            s->found.push_back(c);
            return TRUE;
        }
    };
    EnumChildWindows(window, Visit::next, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline Control find_control(HWND window, const wchar_t* class_name, const wchar_t* text = nullptr) {
    for (const Control& c : controls_of(window))
        if (lstrcmpiW(c.class_name.c_str(), class_name) == 0 && (!text || c.text == text))
            return c;
    return {};
}

// The text of a message box's message: its control whose text holds `part`.
inline std::wstring box_text(HWND box, const wchar_t* part) {
    for (const Control& c : controls_of(box))
        if (c.text.find(part) != std::wstring::npos)
            return c.text;
    return {};
}

inline POINT centre_on_screen(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline int list_count(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}

inline std::vector<std::u16string> list_items(HWND list) {
    std::vector<std::u16string> items;
    const int n = list_count(list);
    for (int i = 0; i < n; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        items.push_back(from_wide(text.data(), text.size()));
    }
    return items;
}

// ---------------------------------------------------------------- real input
inline void move_mouse(POINT p) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((p.x * 65535LL) / (w - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535LL) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

inline void mouse_button(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

inline void click(POINT p, bool right = false) {
    move_mouse(p);
    Sleep(60);
    mouse_button(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Sleep(40);
    mouse_button(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Sleep(120);
}

// A key pressed and released, with a modifier (VK_SHIFT …) held around it when given.
inline void key(WORD vk, WORD modifier = 0) {
    INPUT in[4]{};
    UINT n = 0;
    const auto press = [&](WORD k, bool up) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = k;
        in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++n;
    };
    if (modifier)
        press(modifier, false);
    press(vk, false);
    press(vk, true);
    if (modifier)
        press(modifier, true);
    SendInput(n, in, sizeof in[0]);
    Sleep(120);
}

// ---------------------------------------------------------------- clipboard
inline bool set_clipboard(const std::u16string& text) {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
    bool ok = false;
    if (block) {
        std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * 2);
        GlobalUnlock(block);
        ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        if (!ok)
            GlobalFree(block);
    }
    CloseClipboard();
    return ok;
}

// Waits until something has been put on the clipboard since `sequence`
// (GetClipboardSequenceNumber), without opening it: a reader that keeps the
// clipboard open would make the program's own attempt fail.
// The number moves when the program empties the clipboard, before its text is
// there: read once the program has let go of it.
// The clipboard's sequence number once it has held still for 300 ms (at most
// about 3 s): Wine numbers the clipboard once or twice more just after a set
// (the formats it makes from the text), and a number taken before that would
// make wait_clipboard_change return for the earlier set.
inline DWORD settled_clipboard_sequence() {
    DWORD sequence = GetClipboardSequenceNumber();
    for (int quiet = 0, tries = 0; quiet < 6 && tries < 60; ++tries) {
        Sleep(50);
        const DWORD now = GetClipboardSequenceNumber();
        quiet = now == sequence ? quiet + 1 : 0;
        sequence = now;
    }
    return sequence;
}

inline bool wait_clipboard_change(DWORD sequence, DWORD milliseconds = 10000) {
    if (!wait_until([&] { return GetClipboardSequenceNumber() != sequence; }, milliseconds))
        return false;
    // Handing hundreds of megabytes over takes seconds: the same time limit.
    return wait_until([] { return GetOpenClipboardWindow() == nullptr && IsClipboardFormatAvailable(CF_UNICODETEXT); },
                      milliseconds);
}

// The clipboard's Unicode text; "<none>" when it holds none or cannot be opened.
inline std::u16string clipboard_text() {
    std::u16string text = u"<none>";
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(nullptr))
            break;
        Sleep(50);
        if (attempt == 19)
            return text;
    }
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        const auto* units = static_cast<const char16_t*>(GlobalLock(block));
        const SIZE_T bytes = GlobalSize(block);
        if (units) {
            std::size_t n = 0;
            while (n < bytes / 2 && units[n] != 0)
                ++n;
            text.assign(units, n);
        }
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

// ---------------------------------------------------------------- OLE drops
inline std::u16string drag_arguments(const std::vector<std::u16string>& paths, POINT to) {
    std::u16string arguments = u"--to " + drag_point(to);
    for (const std::u16string& p : paths)
        arguments += u" \"" + p + u"\"";
    return arguments;
}

// Drags the paths onto `to` with the drag-source program of the tests (real
// input, a real OLE drag from another process). True if the target took them.
inline DragRun drag_run(const std::vector<std::u16string>& paths, POINT to) {
    return run_drag_source(drag_arguments(paths, to), [] { Sleep(20); });
}

inline bool drag_files(const std::vector<std::u16string>& paths, POINT to) {
    return drag_run(paths, to).status == 0;
}

// ---------------------------------------------------------------- blobsmith-cli
// What blobsmith-cli --utf16 writes for the paths: the text the window's Copy
// must put on the clipboard.
inline std::u16string cli_text(const std::u16string& folder, const std::vector<std::u16string>& paths) {
    const std::u16string out = folder + u"\\expected.utf16";
    std::u16string command = u"\"" + kCli + u"\" --utf16 -o \"" + out + u"\"";
    for (const std::u16string& p : paths)
        command += u" \"" + p + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, const_cast<wchar_t*>(wide(command)), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info))
        return u"<cli did not start>";
    WaitForSingleObject(info.hProcess, 60000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    HANDLE h = CreateFileW(wide(out), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return u"<no cli output>";
    std::u16string text;
    char16_t buffer[8192];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got / 2);
    CloseHandle(h);
    DeleteFileW(wide(out));
    return text;
}

}  // namespace driver
