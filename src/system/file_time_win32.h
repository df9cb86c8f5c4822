// File times as the file layer reports them, shared by the file functions and
// the directory listings on Windows.
#pragma once

#include <cstdint>

#include "system/win32.h"

// The file time as local wall-clock time, with the offset in force at that
// time (summer or winter), not today's.
[[nodiscard]] bool local_system_time(const FILETIME& time, SYSTEMTIME& local);

// Local wall-clock seconds since 1970 (as file_date gives them); -1 outside
// the 32-bit range, 0 when the time cannot be converted.
[[nodiscard]] std::int32_t local_date(const FILETIME& time);

// The time in its own 100-ns ticks, as FileFacts::modified keeps it.
[[nodiscard]] inline std::int64_t file_time_ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}
