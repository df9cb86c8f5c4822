// The file layer on a POSIX file system: the same results as on Windows where
// the concepts exist (no drive letters, no share modes, no clipboard).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string>

#include "system/file.h"
#include "system/file_facts_posix.h"
#include "system/file_platform.h"
#include "system/handles_posix.h"
#include "system/utf.h"

namespace {

std::string native_path(std::u16string_view path) {
    return utf8_from_utf16(path);
}

// Seconds since 1970 of a local wall-clock time, as if that time were UTC.
std::int64_t local_seconds(std::time_t t, bool& ok) {
    std::tm local{};
    ok = localtime_r(&t, &local) != nullptr;
    if (!ok)
        return 0;
    // Days from the civil date (proleptic Gregorian), then the time of day.
    const std::int64_t y = static_cast<std::int64_t>(local.tm_year) + 1900 - (local.tm_mon < 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t m = local.tm_mon + 1;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + local.tm_mday - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = era * 146097 + doe - 719468;
    return days * 86400 + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

FileStamp stamp_of(const struct stat& st) {
    // The status change time moves on every write, even when the writer puts
    // the modification time back.
    FileStamp stamp;
    stamp.length = static_cast<std::int64_t>(st.st_size);
    stamp.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

}  // namespace

std::int64_t file_size(std::u16string_view path) {
    // Not cut to a length: a cut path names another file, or a folder.
    std::string p = native_path(path);
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    if (p.empty())
        return -1;
    struct stat st {};
    if (stat(p.c_str(), &st) != 0)
        return -1;
    if (S_ISDIR(st.st_mode))
        return -2;
    // Devices, pipes and sockets have no size to embed, and reading a pipe
    // could block the generator for ever: they count as nothing usable.
    if (!S_ISREG(st.st_mode))
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

FileFacts file_facts(std::u16string_view path) {
    std::string p = native_path(path);
    if (p.empty() || p.back() == '/')
        return {file_size(path), file_date(path, FILE_DATE_MODIFIED)};
    struct stat st {};
    if (stat(p.c_str(), &st) != 0)
        return {-1, 0};
    return file_facts_of(st);
}

FileFacts file_facts_of(const struct stat& st) {
    FileFacts facts{-1, 0};
    if (S_ISDIR(st.st_mode))
        facts.size = -2;
    else if (S_ISREG(st.st_mode))
        facts.size = static_cast<std::int64_t>(st.st_size);
    bool ok = false;
    const std::int64_t local = local_seconds(st.st_mtim.tv_sec, ok);
    facts.date = !ok ? 0 : (local < 0 || local > INT32_MAX) ? -1 : static_cast<std::int32_t>(local);
    facts.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return facts;
}

PathProblem path_problem(std::u16string_view path) {
    std::string p = native_path(path);
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    struct stat st {};
    if (p.empty())
        return PathProblem::NotFound;
    if (stat(p.c_str(), &st) != 0) {
        switch (errno) {
            case EACCES:
                return PathProblem::AccessDenied;
            case ELOOP:
                return PathProblem::LinkLoop;
            default:
                return PathProblem::NotFound;
        }
    }
    return S_ISDIR(st.st_mode) || S_ISREG(st.st_mode) ? PathProblem::None : PathProblem::NotPlainFile;
}

std::int32_t file_date(std::u16string_view path, int which) {
    const std::string p = native_path(path);
    struct statx st {};
    if (statx(AT_FDCWD, p.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return 0;
    std::time_t t = 0;
    switch (which) {
        case FILE_DATE_CREATED:
            // File systems without a birth time give the last status change.
            t = (st.stx_mask & STATX_BTIME) ? st.stx_btime.tv_sec : st.stx_ctime.tv_sec;
            break;
        case FILE_DATE_ACCESSED:
            t = st.stx_atime.tv_sec;
            break;
        case FILE_DATE_MODIFIED:
            t = st.stx_mtime.tv_sec;
            break;
        default:
            return 0;
    }
    bool ok = false;
    const std::int64_t local = local_seconds(t, ok);
    if (!ok)
        return 0;
    if (local < 0 || local > INT32_MAX)
        return -1;
    return static_cast<std::int32_t>(local);
}

NativeFile native_open_read(std::u16string_view path, FileStamp& stamp) {
    const std::string p = native_path(path);
    // Non-blocking so that a pipe or device given by mistake cannot hang the
    // open; only plain files are kept.
    UniqueFd fd(open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd)
        return 0;
    struct stat st {};
    if (fstat(fd.get(), &st) != 0)
        return 0;
    if (!S_ISREG(st.st_mode)) {
        errno = 0;  // no error of the system's to name
        return 0;
    }
    stamp = stamp_of(st);
    return static_cast<NativeFile>(fd.release()) + 1;
}

std::int64_t native_read(NativeFile file, void* destination, std::int64_t bytes) {
    const int fd = static_cast<int>(file - 1);
    auto* out = static_cast<char*>(destination);
    std::int64_t total = 0;
    while (total < bytes) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::int64_t>(bytes - total, 1 << 30));
        const ssize_t got = read(fd, out + total, chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        total += got;
        // Only plain files are opened: a short read is the end of the file,
        // and asking again would cost a call per file for nothing.
        if (static_cast<std::size_t>(got) < chunk)
            break;
    }
    return total;
}

std::int64_t native_pointer(NativeFile file) {
    return static_cast<std::int64_t>(lseek(static_cast<int>(file - 1), 0, SEEK_CUR));
}

std::int64_t native_length(NativeFile file) {
    struct stat st {};
    return fstat(static_cast<int>(file - 1), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

bool native_stamp(NativeFile file, FileStamp& stamp) {
    struct stat st {};
    if (fstat(static_cast<int>(file - 1), &st) != 0)
        return false;
    stamp = stamp_of(st);
    return true;
}

void native_close(NativeFile file) {
    close(static_cast<int>(file - 1));
}
