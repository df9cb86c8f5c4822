// Local time of a file time. FileTimeToLocalFileTime applies today's offset
// to every date, so a file written in summer would read an hour off all
// winter, and its text would change when the clocks do. The offset in force
// at the time itself is the one a user sees elsewhere: the zone's rules for
// that year, where the system keeps them per year (Windows does; Wine applies
// this year's rules to every year, so there old dates may still differ from
// the POSIX build's by an hour).
#include "system/file_time_win32.h"

namespace {

// 100-ns intervals from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochSeconds = 11644473600LL;

// Reading the zone costs several times the conversion under Wine, and a drop
// converts one date per file: each thread keeps the rules of the last few
// years it met for a second.
const TIME_ZONE_INFORMATION& zone_of_year(USHORT year) {
    struct Slot {
        USHORT year = 0;  // 0: empty (file times begin in 1601)
        TIME_ZONE_INFORMATION zone{};
    };
    constexpr std::size_t kSlots = 8;
    thread_local Slot slots[kSlots];
    thread_local std::size_t next = 0;
    thread_local ULONGLONG read_at = 0;
    const ULONGLONG now = GetTickCount64();
    if (now - read_at >= 1000) {
        for (Slot& slot : slots)
            slot = Slot{};
        read_at = now;
    }
    for (const Slot& slot : slots) {
        if (slot.year == year)
            return slot.zone;
    }
    Slot& slot = slots[next];
    next = (next + 1) % kSlots;
    slot.year = year;
    if (!GetTimeZoneInformationForYear(year, nullptr, &slot.zone) &&
        GetTimeZoneInformation(&slot.zone) == TIME_ZONE_ID_INVALID)
        slot.zone = TIME_ZONE_INFORMATION{};
    return slot.zone;
}

}  // namespace

bool local_system_time(const FILETIME& time, SYSTEMTIME& local) {
    SYSTEMTIME utc{};
    return FileTimeToSystemTime(&time, &utc) && SystemTimeToTzSpecificLocalTime(&zone_of_year(utc.wYear), &utc, &local);
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
