// The file layer on Windows: sizes through the find functions (drive roots,
// network and ".." paths included), dates in local time, unshared reading.
#include "system/win32.h"

#include <algorithm>
#include <string>

#include "system/file.h"
#include "system/file_platform.h"
#include "system/file_time_win32.h"
#include "system/handles_win32.h"
#include "system/verbatim_path.h"
#include "system/wide.h"

namespace {

bool is_separator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::int64_t drive_size(std::u16string root) {
    if (root.size() == 2)
        root += u'\\';
    root[2] = u'\\';
    return GetDriveTypeW(wide(root)) > DRIVE_NO_ROOT_DIR ? -2 : -1;
}

// A link's (reparse point's) own attributes describe the link: a link to a
// file would read as 0 bytes with the link's date. Opening the path follows
// it to what it names. False when that cannot be opened (a link that leads
// nowhere).
bool target_attributes(const std::u16string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    const UniqueFile handle(CreateFileW(wide(verbatim_path(path)), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !GetFileInformationByHandle(handle.get(), &info))
        return false;
    data = {info.dwFileAttributes, info.ftCreationTime, info.ftLastAccessTime,
            info.ftLastWriteTime,  info.nFileSizeHigh,  info.nFileSizeLow};
    return true;
}

// GetFileAttributesExW, links followed.
bool path_attributes(const std::u16string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    if (!GetFileAttributesExW(wide(verbatim_path(path)), GetFileExInfoStandard, &data))
        return false;
    return !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || target_attributes(path, data);
}

std::int64_t size_of(DWORD attributes, DWORD high, DWORD low) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? -2 : (static_cast<std::int64_t>(high) << 32) | low;
}

}  // namespace

FileFacts file_facts(std::u16string_view path) {
    // The common case, a file or folder named without wildcards or a trailing
    // separator: one query gives both, as the two calls would. Not a search:
    // Wine answers a search for one name by reading its whole folder, which
    // made collecting a folder of n files cost n^2.
    const std::u16string p(path);
    if (p.size() > 3 && !is_separator(p.back()) && p.find_first_of(u"*?") == std::u16string::npos) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (path_attributes(p, data))
            return {size_of(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow),
                    local_date(data.ftLastWriteTime), file_time_ticks(data.ftLastWriteTime)};
    }
    return {file_size(path), file_date(path, FILE_DATE_MODIFIED)};
}

std::int64_t file_size(std::u16string_view path) {
    if (path.empty())
        return -1;
    // Not cut to MAX_PATH: the cut path would name another file or a folder
    // (whose size would be reported); a path too long for the platform is
    // simply not found.
    std::u16string p(path);
    if ((p.size() == 2 || (p.size() == 3 && is_separator(p[2]))) && p[1] == u':')
        return drive_size(p);

    while (!p.empty() && is_separator(p.back()))
        p.pop_back();
    // File names cannot hold wildcards; searching for one would report the
    // size of whatever file happens to match first.
    if (p.find_first_of(u"*?") != std::u16string::npos)
        return -1;

    WIN32_FIND_DATAW found{};
    const UniqueFind search(p.empty() ? INVALID_HANDLE_VALUE : FindFirstFileW(wide(verbatim_path(p)), &found));
    if (search) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return size_of(found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow);
        WIN32_FILE_ATTRIBUTE_DATA target{};
        return target_attributes(p, target)
                   ? size_of(target.dwFileAttributes, target.nFileSizeHigh, target.nFileSizeLow)
                   : -1;
    }
    // Share roots (\\server\share) and ".." are not found by a search but exist.
    const bool network = p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\';
    const bool parent = p.size() >= 2 && p[0] == u'.' && p[1] == u'.';
    if (!network && !parent)
        return -1;
    const DWORD attributes = GetFileAttributesW(wide(p));
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? -2 : -1;
    return GetDriveTypeW(wide(p)) > DRIVE_NO_ROOT_DIR ? -2 : -1;
}

PathProblem path_problem(std::u16string_view path) {
    if (file_size(path) != -1)
        return PathProblem::None;
    const std::u16string p(path);
    if (!p.empty() && GetFileAttributesW(wide(verbatim_path(p))) == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_ACCESS_DENIED ? PathProblem::AccessDenied : PathProblem::NotFound;
    // There, but not found as a file or folder: a device (\\.\NUL).
    return p.empty() ? PathProblem::NotFound : PathProblem::NotPlainFile;
}

std::int32_t file_date(std::u16string_view path, int which) {
    const std::u16string p(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (p.empty() || !path_attributes(p, data))
        return 0;
    FILETIME time{};
    switch (which) {
        case FILE_DATE_CREATED:
            time = data.ftCreationTime;
            break;
        case FILE_DATE_ACCESSED:
            time = data.ftLastAccessTime;
            break;
        case FILE_DATE_MODIFIED:
            time = data.ftLastWriteTime;
            break;
        default:
            return 0;
    }
    return local_date(time);
}

NativeFile native_open_read(std::u16string_view path, FileStamp&) {
    const std::u16string p(path);
    if (p.empty())
        return 0;
    UniqueFile file(
        CreateFileW(wide(verbatim_path(p)), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // Handed to the file library's record, which closes it.
    return file ? reinterpret_cast<NativeFile>(file.release()) : 0;
}

std::int64_t native_read(NativeFile file, void* destination, std::int64_t bytes) {
    auto* out = static_cast<char*>(destination);
    std::int64_t total = 0;
    while (total < bytes) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::int64_t>(bytes - total, 1 << 30));
        DWORD got = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(file), out + total, chunk, &got, nullptr) || got == 0)
            break;
        total += got;
        // A short read of a disk file is its end: asking again costs a call.
        if (got < chunk)
            break;
    }
    return total;
}

std::int64_t native_pointer(NativeFile file) {
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(reinterpret_cast<HANDLE>(file), zero, &position, FILE_CURRENT))
        return -1;
    return position.QuadPart;
}

std::int64_t native_length(NativeFile file) {
    LARGE_INTEGER size{};
    return GetFileSizeEx(reinterpret_cast<HANDLE>(file), &size) ? size.QuadPart : -1;
}

bool native_stamp(NativeFile file, FileStamp& stamp) {
    // Files are opened without write sharing, which holds off this system's
    // programs but not every writer (a Unix process beside Wine): the times
    // tell those writes too.
    stamp = FileStamp{native_length(file), 0, 0};
    FILE_BASIC_INFO times{};
    if (GetFileInformationByHandleEx(reinterpret_cast<HANDLE>(file), FileBasicInfo, &times, sizeof times)) {
        stamp.modified = times.LastWriteTime.QuadPart;
        stamp.changed = times.ChangeTime.QuadPart;
    }
    return stamp.length >= 0;
}

void native_close(NativeFile file) {
    CloseHandle(reinterpret_cast<HANDLE>(file));
}
