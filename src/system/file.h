// Files: sizes, dates and name parts of paths, and numbered files opened for
// buffered reading. Paths are UTF-16; "\" and "/" both separate folders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/object_id.h"

// ---------------------------------------------------------------- paths

// Size in bytes; -1 when nothing is at the path (or it is not a plain file or
// folder), -2 for a folder or an existing drive root. Trailing separators are
// ignored.
[[nodiscard]] std::int64_t file_size(std::u16string_view path);

// Why file_size gives -1 for a path.
enum class PathProblem {
    None,          // file_size does not give -1
    NotFound,      // nothing there
    AccessDenied,  // a folder on the path cannot be searched
    NotPlainFile,  // a device, a pipe, a socket
    LinkLoop,      // links that lead round in a circle
};
[[nodiscard]] PathProblem path_problem(std::u16string_view path);

inline constexpr int FILE_PART_NO_EXTENSION = 1;

// The part after the last "\" or "/"; a leading double quote is skipped and the
// part ends at the next one. FILE_PART_NO_EXTENSION cuts a trailing ".ext".
[[nodiscard]] std::u16string file_part(std::u16string_view path, int flags = 0);

// Whether c separates folders in a real path. A POSIX name may hold "\" as a
// letter of its own.
[[nodiscard]] constexpr bool is_path_separator(char16_t c) {
#ifdef _WIN32
    return c == u'\\' || c == u'/';
#else
    return c == u'/';
#endif
}

// The name a real path ends in: all after its last separator. Unlike
// file_part it reads no quotes and, on POSIX, takes "\" for a letter: a
// POSIX file name may hold both.
[[nodiscard]] std::u16string_view path_name(std::u16string_view path);

// The text after the name's last "."; empty when the name has none, begins with
// its only dot, or the dot lies in a folder name or before a blank.
[[nodiscard]] std::u16string extension_part(std::u16string_view path);

inline constexpr int FILE_DATE_CREATED = 0;
inline constexpr int FILE_DATE_ACCESSED = 1;
inline constexpr int FILE_DATE_MODIFIED = 2;

// The file's time as seconds since 1970-01-01 00:00:00 counted in local
// wall-clock time; 0 when the path is not found, -1 when the time lies outside
// 1970-01-01 00:00:00 ... 2038-01-19 03:14:07.
[[nodiscard]] std::int32_t file_date(std::u16string_view path, int which);

// file_size and file_date (FILE_DATE_MODIFIED) of one path, in one platform
// call where the platform allows (collections ask both of every file), and
// the modification time as finely as the platform keeps it (100-ns ticks on
// Windows, nanoseconds elsewhere; 0 when not known): a file rewritten within
// the second its date shows must not pass for unchanged.
struct FileFacts {
    std::int64_t size;
    std::int32_t date;
    std::int64_t modified = 0;
};
[[nodiscard]] FileFacts file_facts(std::u16string_view path);

// ---------------------------------------------------------------- numbered files

// Reads go straight to the platform, for readers that ask for large blocks.
inline constexpr int FILE_UNBUFFERED = 1;

// Opens an existing file for reading, not shared with anyone else, under a
// number or PB_Any, read through the process-wide buffer unless `flags` has
// FILE_UNBUFFERED. Nonzero on success (for PB_Any the new id), 0 on failure
// (the number is then free).
[[nodiscard]] std::intptr_t open_file_for_reading(std::intptr_t id, std::u16string_view path, int flags = 0);

// Length of the open file in bytes; -1 if id names no open file.
[[nodiscard]] std::int64_t file_length(std::intptr_t file);

// Logical read position (bytes delivered so far); -1 if id names no open file.
[[nodiscard]] std::int64_t file_position(std::intptr_t file);

// Copies up to `bytes` bytes from the read position into `destination` through
// the file's buffer; returns the number delivered (less at the end of the file
// or when the platform read fails; 0 for an unknown id).
[[nodiscard]] std::int64_t read_data(std::intptr_t file, void* destination, std::int64_t bytes);

// The next 8 bytes, first byte lowest; bytes past the end are 0. 0 for an
// unknown id.
[[nodiscard]] std::uint64_t read_quad(std::intptr_t file);

// What writing to a file changes: its length and its times at the platform's
// full precision. Equal stamps before and after reading an open file mean no
// one wrote to it in between.
struct FileStamp {
    std::int64_t length = -1;
    std::int64_t modified = 0;  // last write
    std::int64_t changed = 0;   // last status change where the platform has one
    bool operator==(const FileStamp&) const = default;
};

// The stamp of an open file; the default stamp for an unknown id or when the
// platform cannot tell.
[[nodiscard]] FileStamp file_stamp(std::intptr_t file);

// The stamp the file had when it was opened, without asking again where the
// open already learnt it (on POSIX); elsewhere the stamp now.
[[nodiscard]] FileStamp file_stamp_at_open(std::intptr_t file);

// Closes the file and frees its number; PB_Any closes every open file.
void close_file(std::intptr_t file);

// Owns a file number from open_file_for_reading, so an exception (out of
// memory while its text is built) cannot leave the file open and locked.
class OpenFile {
public:
    OpenFile() = default;
    explicit OpenFile(std::intptr_t file) : file_(file) {}
    OpenFile(OpenFile&& other) noexcept : file_(other.file_) { other.file_ = 0; }
    OpenFile& operator=(OpenFile&& other) noexcept {
        if (this != &other) {
            reset(other.file_);
            other.file_ = 0;
        }
        return *this;
    }
    ~OpenFile() { reset(); }
    std::intptr_t get() const { return file_; }
    explicit operator bool() const { return file_ != 0; }
    void reset(std::intptr_t file = 0) {
        if (file_)
            close_file(file_);
        file_ = file;
    }

private:
    std::intptr_t file_ = 0;
};

// Buffer size for files opened from now on (4096 by default; 0 reads unbuffered).
void set_file_buffer_size(std::int32_t bytes);

// Program end: closes every open file and finishes every directory listing.
void end_files();
