// Test support: a fresh folder with real files, removed at the end, and the
// one thing the system itself never does to a file: set its modification time.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#ifdef _WIN32
#include "system/wide.h"
#include "system/win32.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "system/utf.h"
#endif

class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0;; ++attempt) {
            root_ = base / ("blobsmith-test-" + std::to_string(process_id()) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(root_) || attempt > 100)
                break;
        }
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    static constexpr char16_t kSeparator =
#ifdef _WIN32
        u'\\';
#else
        u'/';
#endif

    // The folder's own path, without a trailing separator.
    std::u16string folder() const {
        return root_.u16string();
    }
    // The full path of `name` (which may hold separators) inside the folder.
    std::u16string path(std::u16string_view name) const {
        std::u16string full = folder();
        full += kSeparator;
        for (char16_t c : name)
            full += (c == u'/' || c == u'\\') ? kSeparator : c;
        return full;
    }
    // Writes (or replaces) a file, creating its folders; returns its path.
    std::u16string write(std::u16string_view name, std::string_view bytes) const {
        const std::filesystem::path file(path(name));
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }
    std::u16string make_folder(std::u16string_view name) const {
        std::filesystem::create_directories(std::filesystem::path(path(name)));
        return path(name);
    }

    // Sets the modification time to a local wall-clock time, as the platform
    // converts it back.
    static bool set_modified(const std::u16string& file,
                             int year,
                             int month,
                             int day,
                             int hour,
                             int minute,
                             int second,
                             int millisecond = 0) {
#ifdef _WIN32
        SYSTEMTIME local{};
        local.wYear = static_cast<WORD>(year);
        local.wMonth = static_cast<WORD>(month);
        local.wDay = static_cast<WORD>(day);
        local.wHour = static_cast<WORD>(hour);
        local.wMinute = static_cast<WORD>(minute);
        local.wSecond = static_cast<WORD>(second);
        local.wMilliseconds = static_cast<WORD>(millisecond);
        // With the offset of that date, as a user's clock showed it then.
        SYSTEMTIME universal{};
        FILETIME utc{};
        if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) || !SystemTimeToFileTime(&universal, &utc))
            return false;
        HANDLE h = CreateFileW(wide(file), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const bool ok = SetFileTime(h, nullptr, nullptr, &utc) != 0;
        CloseHandle(h);
        return ok;
#else
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_sec = second;
        local.tm_isdst = -1;
        const std::time_t t = std::mktime(&local);
        const long nanoseconds = millisecond * 1000000L;
        const timespec times[2] = {{t, nanoseconds}, {t, nanoseconds}};
        return utimensat(AT_FDCWD, utf8_from_utf16(file).c_str(), times, 0) == 0;
#endif
    }

private:
    static long process_id() {
#ifdef _WIN32
        return static_cast<long>(GetCurrentProcessId());
#else
        return static_cast<long>(getpid());
#endif
    }

    std::filesystem::path root_;
};
