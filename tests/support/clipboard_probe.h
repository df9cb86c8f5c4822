// Test support (Windows only): read the clipboard's Unicode text, and hold the
// clipboard open from another thread's window as a busy program would.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "system/wide.h"
#include "system/win32.h"

// The clipboard's Unicode text; nullopt when there is none or it cannot be opened.
inline std::optional<std::u16string> read_clipboard_text() {
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = from_wide(units);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

class ClipboardHolder {
public:
    ClipboardHolder() {
        thread_ = std::thread([this] {
            HWND window =
                CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            const bool opened = window && OpenClipboard(window);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                holding_ = opened;
                started_ = true;
            }
            changed_.notify_all();
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return release_; });
            if (opened)
                CloseClipboard();
            if (window)
                DestroyWindow(window);
        });
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return started_; });
    }
    ~ClipboardHolder() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            release_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    bool holding() const { return holding_; }

private:
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool started_ = false, holding_ = false, release_ = false;
};
