// Owners of Win32 handles, one per kind of invalid value and close call, and
// guards that undo a paired call (SelectObject, GetDC, BeginPaint,
// an open clipboard, GlobalLock) on every way out of a function.
#pragma once

#include "system/unique_handle.h"
#include "system/win32.h"

namespace handle_traits {

// Closing keeps the thread's last error, so that a caller can still read the
// failure that made it leave.
template <class H, void (*Close)(H)>
struct Closer {
    static void close(H handle) noexcept {
        const DWORD error = GetLastError();
        Close(handle);
        SetLastError(error);
    }
};

inline void close_handle(HANDLE h) {
    CloseHandle(h);
}
inline void find_close(HANDLE h) {
    FindClose(h);
}
inline void delete_object(HGDIOBJ h) {
    DeleteObject(h);
}
inline void delete_dc(HDC h) {
    DeleteDC(h);
}
inline void global_free(HGLOBAL h) {
    GlobalFree(h);
}
inline void destroy_window(HWND h) {
    DestroyWindow(h);
}
inline void unregister_class(ATOM atom) {
    UnregisterClassW(MAKEINTATOM(atom), GetModuleHandleW(nullptr));
}

// Processes, threads, events, pipes: null when absent.
struct Kernel : Closer<HANDLE, close_handle> {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return nullptr; }
};
// CreateFileW fails with INVALID_HANDLE_VALUE, not null.
struct File : Closer<HANDLE, close_handle> {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
};
struct Find : Closer<HANDLE, find_close> {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
};
template <class H>
struct Gdi : Closer<HGDIOBJ, delete_object> {
    using Handle = H;
    static Handle invalid() noexcept { return nullptr; }
};
// CreateCompatibleDC: a memory device context.
struct MemoryDc : Closer<HDC, delete_dc> {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
};
struct Global : Closer<HGLOBAL, global_free> {
    using Handle = HGLOBAL;
    static Handle invalid() noexcept { return nullptr; }
};
// Top-level windows only: child windows die with their parent.
struct Window : Closer<HWND, destroy_window> {
    using Handle = HWND;
    static Handle invalid() noexcept { return nullptr; }
};

// A window class this module registered, by its atom.
struct WindowClass : Closer<ATOM, unregister_class> {
    using Handle = ATOM;
    static Handle invalid() noexcept { return 0; }
};

}  // namespace handle_traits

using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueFile = UniqueHandle<handle_traits::File>;
using UniqueFind = UniqueHandle<handle_traits::Find>;
using UniqueMemoryDc = UniqueHandle<handle_traits::MemoryDc>;
using UniqueHfont = UniqueHandle<handle_traits::Gdi<HFONT>>;
using UniqueHpen = UniqueHandle<handle_traits::Gdi<HPEN>>;
using UniqueHbrush = UniqueHandle<handle_traits::Gdi<HBRUSH>>;
using UniqueHbitmap = UniqueHandle<handle_traits::Gdi<HBITMAP>>;
using UniqueHglobal = UniqueHandle<handle_traits::Global>;
using UniqueHwnd = UniqueHandle<handle_traits::Window>;
using UniqueWindowClass = UniqueHandle<handle_traits::WindowClass>;

// Selects an object into a device context; the one it replaced comes back at
// the end of the scope. A null object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetDC / ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    explicit operator bool() const noexcept { return dc_ != nullptr; }
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    explicit operator bool() const noexcept { return dc_ != nullptr; }
    HDC get() const noexcept { return dc_; }
    const RECT& area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The clipboard, open for this scope. Another program (a clipboard viewer, a
// remote-desktop client) may hold it for a moment: opening tries a few times.
class OpenedClipboard {
public:
    OpenedClipboard() noexcept {
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
            open_ = OpenClipboard(nullptr) != 0;
            if (!open_)
                Sleep(10);
        }
    }
    ~OpenedClipboard() {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    explicit operator bool() const noexcept { return open_; }

private:
    bool open_ = false;
};

// GlobalLock / GlobalUnlock; get() is null when the lock failed.
template <class T = void>
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) noexcept
        : memory_(memory), data_(memory ? static_cast<T*>(GlobalLock(memory)) : nullptr) {}
    ~LockedGlobal() {
        if (data_)
            GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    T* get() const noexcept { return data_; }

private:
    HGLOBAL memory_;
    T* data_;
};
