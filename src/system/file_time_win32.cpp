// Local time of a file time. FileTimeToLocalFileTime applies today's offset
// to every date, so a file written in summer would read an hour off all
// winter, and its text would change when the clocks do. The offset in force
// at the time itself is the one a user sees elsewhere: the zone's rules for
// that year, where the system keeps them per year (Windows does; Wine applies
// this year's rules to every year, so there old dates may still differ from
// the POSIX build's by an hour).
#include "system/file_time_win32.h"

#include <new>
#include <vector>

namespace {

// 100-ns intervals from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochSeconds = 11644473600LL;

// Reading a year's rules costs up to a third of a millisecond under Wine, and
// a drop converts one date per file: each thread keeps the rules of every
// year it met, for a second.
struct YearZone {
    USHORT year;
    TIME_ZONE_INFORMATION zone;
};

TIME_ZONE_INFORMATION read_zone(USHORT year) {
    TIME_ZONE_INFORMATION zone{};
    if (!GetTimeZoneInformationForYear(year, nullptr, &zone) && GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        zone = TIME_ZONE_INFORMATION{};
    return zone;
}

TIME_ZONE_INFORMATION zone_of_year(USHORT year) {
    thread_local std::vector<YearZone> years;
    thread_local ULONGLONG read_at = 0;
    const ULONGLONG now = GetTickCount64();
    if (now - read_at >= 1000) {
        years.clear();
        read_at = now;
    }
    for (const YearZone& known : years) {
        if (known.year == year)
            return known.zone;
    }
    const TIME_ZONE_INFORMATION zone = read_zone(year);
    try {
        years.push_back({year, zone});
    } catch (const std::bad_alloc&) {
        // Read again next time.
    }
    return zone;
}

}  // namespace

bool local_system_time(const FILETIME& time, SYSTEMTIME& local) {
    SYSTEMTIME utc{};
    if (!FileTimeToSystemTime(&time, &utc))
        return false;
    const TIME_ZONE_INFORMATION zone = zone_of_year(utc.wYear);
    return SystemTimeToTzSpecificLocalTime(&zone, &utc, &local) != FALSE;
}

std::int32_t local_date(const FILETIME& time) {
    SYSTEMTIME wall{};
    FILETIME local{};
    // A time the zone cannot take (before 1601 once shifted) is outside the
    // range too; 0 would read as 1970-01-01.
    if (!local_system_time(time, wall) || !SystemTimeToFileTime(&wall, &local))
        return -1;
    const std::int64_t seconds = file_time_ticks(local) / 10000000LL - kEpochSeconds;
    if (seconds < 0 || seconds > INT32_MAX)
        return -1;
    return static_cast<std::int32_t>(seconds);
}
