// Local time of a file time. FileTimeToLocalFileTime applies today's offset
// to every date, so a file written in summer would read an hour off all
// winter, and its text would change when the clocks do. The offset in force
// at the time itself is the one a user sees elsewhere, and the one the POSIX
// build gives.
#include "system/file_time_win32.h"

namespace {

// 100-ns intervals from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochSeconds = 11644473600LL;

// Reading the zone costs several times the conversion under Wine, and a drop
// converts one date per file: each thread keeps it for a second.
const TIME_ZONE_INFORMATION& current_zone() {
    thread_local TIME_ZONE_INFORMATION zone{};
    thread_local ULONGLONG read_at = 0;
    thread_local bool known = false;
    const ULONGLONG now = GetTickCount64();
    if (!known || now - read_at >= 1000) {
        known = GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
        if (!known)
            zone = TIME_ZONE_INFORMATION{};
        read_at = now;
    }
    return zone;
}

}  // namespace

bool local_system_time(const FILETIME& time, SYSTEMTIME& local) {
    SYSTEMTIME utc{};
    return FileTimeToSystemTime(&time, &utc) && SystemTimeToTzSpecificLocalTime(&current_zone(), &utc, &local);
}

std::int32_t local_date(const FILETIME& time) {
    SYSTEMTIME wall{};
    FILETIME local{};
    if (!local_system_time(time, wall) || !SystemTimeToFileTime(&wall, &local))
        return 0;
    const std::int64_t seconds = file_time_ticks(local) / 10000000LL - kEpochSeconds;
    if (seconds < 0 || seconds > INT32_MAX)
        return -1;
    return static_cast<std::int32_t>(seconds);
}
