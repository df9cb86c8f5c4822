// The portable part of the file layer: numbered files read through their
// buffer, and the name parts of paths.
#include "system/file.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "base/object_library.h"
#include "system/directory.h"
#include "system/error_text.h"
#include "system/file_platform.h"
#include "system/out_of_memory.h"

namespace {

// Registry record; `handle` is the liveness word.
struct FileRecord {
    NativeFile handle;
    unsigned char* buffer;  // null: read straight through
    std::int32_t buffer_size;
    std::int32_t remaining;  // read ahead, not yet delivered
    std::int32_t valid;      // bytes the last fill put in the buffer
    FileStamp opened;        // length -1: the open did not learn it
};

std::atomic<std::int32_t> g_buffer_size{4096};

void close_record(ObjectId file);

// A generation's worker thread reads files while the GUI thread may open,
// close or end them: every use of the library and its records holds this
// lock. Like the library it is never destroyed, as the worker may outlive
// main's statics.
std::mutex& files_lock() {
    static auto* const lock = new std::mutex;
    return *lock;
}

ObjectLibrary<FileRecord>& files() {
    return lasting_library<FileRecord, close_record>();
}

// The free routine, also for PB_Any; the caller holds the lock.
void close_record(ObjectId file) {
    if (FileRecord* record = files().free_all_or_find(file)) {
        native_close(record->handle);
        std::free(record->buffer);
        files().release(file);
    }
}

bool is_separator(char16_t c) {
    return c == u'\\' || c == u'/';
}

}  // namespace

// ---------------------------------------------------------------- numbered files

std::intptr_t open_file_for_reading(std::intptr_t id, std::u16string_view path, int flags) {
    if (id != PB_Any && id < 0)
        return 0;
    // A number in use is freed first, whatever the open gives: its file may
    // be the very one asked for, which an unshared open would otherwise refuse.
    if (id != PB_Any)
        close_file(id);
    FileStamp opened;
    const NativeFile handle = native_open_read(path, opened);
    if (!handle)
        return 0;
    const std::lock_guard guard(files_lock());
    const auto made = files().create(id);
    if (!made) {
        native_close(handle);
        set_last_system_error_out_of_memory();
        return 0;
    }
    FileRecord* record = made.record;
    const std::int32_t size = (flags & FILE_UNBUFFERED) ? 0 : g_buffer_size.load();
    if (size > 0) {
        // A failure the caller can tell from a file that cannot be opened.
        BigBlock buffer = big_block(static_cast<std::size_t>(size));
        if (!buffer) {
            native_close(handle);
            files().release(made.id);
            set_last_system_error_out_of_memory();
            return 0;
        }
        record->buffer = buffer.release();
        record->buffer_size = size;
    }
    record->opened = opened;
    record->handle = handle;
    return made.result(handle);
}

std::int64_t file_length(std::intptr_t file) {
    const std::lock_guard guard(files_lock());
    const FileRecord* record = files().find(file);
    return record ? native_length(record->handle) : -1;
}

std::int64_t file_position(std::intptr_t file) {
    const std::lock_guard guard(files_lock());
    const FileRecord* record = files().find(file);
    if (!record)
        return -1;
    const std::int64_t pointer = native_pointer(record->handle);
    return pointer < 0 ? -1 : pointer - record->remaining;
}

std::int64_t read_data(std::intptr_t file, void* destination, std::int64_t bytes) {
    // Held through the platform read: a close from another thread must not
    // free the buffer being filled.
    const std::lock_guard guard(files_lock());
    FileRecord* record = files().find(file);
    if (!record || !destination || bytes <= 0)
        return 0;
    auto* out = static_cast<unsigned char*>(destination);
    if (!record->buffer)
        return native_read(record->handle, out, bytes);

    if (record->remaining >= bytes) {
        std::memcpy(out, record->buffer + (record->valid - record->remaining), static_cast<std::size_t>(bytes));
        record->remaining -= static_cast<std::int32_t>(bytes);
        return bytes;
    }
    std::int64_t delivered = record->remaining;
    std::memcpy(out, record->buffer + (record->valid - record->remaining), static_cast<std::size_t>(delivered));
    record->remaining = 0;
    const std::int64_t missing = bytes - delivered;
    if (missing >= record->buffer_size) {
        // Large reads bypass the buffer: no point copying through it.
        return delivered + native_read(record->handle, out + delivered, missing);
    }
    const std::int64_t filled = native_read(record->handle, record->buffer, record->buffer_size);
    const std::int64_t taken = std::min(missing, filled);
    std::memcpy(out + delivered, record->buffer, static_cast<std::size_t>(taken));
    record->valid = static_cast<std::int32_t>(filled);
    record->remaining = static_cast<std::int32_t>(filled - taken);
    return delivered + taken;
}

std::uint64_t read_quad(std::intptr_t file) {
    unsigned char bytes[8] = {};
    (void)read_data(file, bytes, 8);
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

FileStamp file_stamp(std::intptr_t file) {
    FileStamp stamp;
    const std::lock_guard guard(files_lock());
    const FileRecord* record = files().find(file);
    if (!record || !native_stamp(record->handle, stamp))
        return {};
    return stamp;
}

FileStamp file_stamp_at_open(std::intptr_t file) {
    FileStamp stamp;
    const std::lock_guard guard(files_lock());
    const FileRecord* record = files().find(file);
    if (!record)
        return {};
    if (record->opened.length >= 0)
        return record->opened;
    return native_stamp(record->handle, stamp) ? stamp : FileStamp{};
}

void close_file(std::intptr_t file) {
    const std::lock_guard guard(files_lock());
    close_record(file);
}

void set_file_buffer_size(std::int32_t bytes) {
    g_buffer_size.store(std::max(bytes, 0));
}

void end_files() {
    close_file(PB_Any);
    end_directories();
}

// ---------------------------------------------------------------- name parts

std::u16string_view path_name(std::u16string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (is_path_separator(path[i - 1]))
            return path.substr(i);
    }
    return path;
}

std::u16string file_part(std::u16string_view path, int flags) {
    std::u16string_view part = path;
    for (std::size_t i = path.size(); i > 0; --i) {
        if (is_separator(path[i - 1])) {
            part = path.substr(i);
            break;
        }
    }
    if (!part.empty() && part.front() == u'"')
        part.remove_prefix(1);
    part = part.substr(0, part.find(u'"'));
    if (flags & FILE_PART_NO_EXTENSION) {
        for (std::size_t i = part.size(); i > 0; --i) {
            const char16_t c = part[i - 1];
            if (c == u' ')
                break;
            if (c == u'.') {
                // A dot that ends the name or begins it ("." files) is no extension.
                if (i - 1 != 0 && i != part.size())
                    part = part.substr(0, i - 1);
                break;
            }
        }
    }
    return std::u16string(part);
}

std::u16string extension_part(std::u16string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        const char16_t c = path[i - 1];
        if (c == u' ' || is_separator(c))
            return {};
        if (c == u'.') {
            if (i - 1 == 0 || is_separator(path[i - 2]))
                return {};
            std::u16string_view extension = path.substr(i);
            return std::u16string(extension.substr(0, extension.find(u'"')));
        }
    }
    return {};
}
