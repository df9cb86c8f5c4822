// Test support: runs blobsmith-drag-source (built beside the tests) and keeps
// the caller's message loop turning until it has finished.
#pragma once

#include <functional>
#include <string>

#include "system/wide.h"
#include "system/win32.h"

struct DragRun {
    DWORD status = ~0u;  // 0 dropped, 1 no drop, 2 bad arguments, 3 the drag never started
    std::string out;     // "effect=N result=0x... release=T"
    DWORD effect() const {
        const auto at = out.find("effect=");
        return at == std::string::npos ? ~0u : static_cast<DWORD>(std::stoul(out.substr(at + 7)));
    }
    // The performance counter when the button was released; 0 if not known.
    long long release() const {
        const auto at = out.find("release=");
        return at == std::string::npos ? 0 : std::stoll(out.substr(at + 8));
    }
};

// The centre of a window's client area on the screen.
inline POINT client_centre_on_screen(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(hwnd, &p);
    return p;
}

inline std::u16string drag_point(POINT p) {
    const std::string s = std::to_string(p.x) + "," + std::to_string(p.y);
    return std::u16string(s.begin(), s.end());
}

// arguments as on the program's command line (paths quoted by the caller).
// pump runs the caller's loop for a short while; it is called until the driver
// has ended (at most about 30 s).
inline DragRun run_drag_source(const std::u16string& arguments, const std::function<void()>& pump) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    DragRun run;
    if (!CreatePipe(&read_end, &write_end, &inherit, 1 << 16))
        return run;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    std::u16string command = u"\"" BLOBSMITH_BIN_DIR u"\\blobsmith-drag-source.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, const_cast<wchar_t*>(wide(command)), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(write_end);
    if (started) {
        for (int i = 0; i < 1500 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; ++i)
            pump();
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
        GetExitCodeProcess(process.hProcess, &run.status);
        char buffer[512];
        DWORD got = 0;
        while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
            run.out.append(buffer, got);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    // What the drop queued last is handled by the caller's next pumps.
    for (int i = 0; i < 10; ++i)
        pump();
    return run;
}
