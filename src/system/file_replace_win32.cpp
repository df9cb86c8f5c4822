// Whole-file replacement on Windows: a new temporary file beside the target
// (beside the file a link leads to), flushed, then moved over it; devices
// such as NUL and pipes written directly.
#include "system/win32.h"

#include <mutex>
#include <string>

#include "system/error_text.h"
#include "system/file_replace.h"
#include "system/handles_win32.h"
#include "system/name_cut.h"
#include "system/utf.h"
#include "system/wide.h"

namespace {

std::u16string reason(const char16_t* what, DWORD error) {
    return what + (u": " + system_error_text(error));
}

// The temporary file Ctrl+C must remove; empty when there is none. A copy
// under a lock: the handler runs on a thread of its own, and the path it
// names may be freed or replaced meanwhile.
std::mutex g_cleanup_lock;
std::wstring g_interrupted_cleanup;

void remove_on_break(const std::u16string& path) {
    const std::lock_guard guard(g_cleanup_lock);
    g_interrupted_cleanup.assign(path.begin(), path.end());
}

void keep_on_break() {
    const std::lock_guard guard(g_cleanup_lock);
    g_interrupted_cleanup.clear();
}

BOOL WINAPI remove_temporary_on_break(DWORD event) noexcept {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    // The file is open with delete sharing: it goes when the process ends.
    const std::lock_guard guard(g_cleanup_lock);  // held to the end: nothing changes the path now
    if (!g_interrupted_cleanup.empty())
        DeleteFileW(g_interrupted_cleanup.c_str());
    // Ended here with the status Windows' own handling gives, which Wine's
    // (exit status 0) does not: an interrupted run must not look successful.
    ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

void install_interrupt_cleanup() {
    static const bool installed = SetConsoleCtrlHandler(remove_temporary_on_break, TRUE) != 0;
    (void)installed;
}

// A name the system keeps for a device in every folder (CON, NUL, COM1 …),
// or a path in the device namespace. With an extension ("con.txt") it names
// a device only on older systems: such a name is left to be a file.
bool names_device(std::u16string_view path) {
    if (path.starts_with(u"\\\\.\\"))
        return true;
    const std::size_t slash = path.find_last_of(u"\\/:");
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    std::u16string upper(name);
    for (char16_t& c : upper)
        c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
    if (upper == u"CON" || upper == u"PRN" || upper == u"AUX" || upper == u"NUL" || upper == u"CONIN$" ||
        upper == u"CONOUT$")
        return true;
    return upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT")) && upper[3] >= u'1' &&
           upper[3] <= u'9';
}

struct Target {
    std::u16string path;  // the file that gets the content
    bool direct = false;  // a device or pipe: written to, not replaced
    bool folder = false;
};

// Follows a link to the file it leads to and tells devices from files.
Target examine(const std::u16string& path) {
    Target target{path, false};
    const UniqueFile h(CreateFileW(wide(path), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) {
        // The console (CON) opens only for reading or for writing.
        const UniqueFile device(CreateFileW(wide(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        // A device that cannot be opened (the console of a process without
        // one) is reported as such, not as a file that could not be made.
        target.direct = device ? GetFileType(device.get()) != FILE_TYPE_DISK : names_device(path);
        return target;  // else a new file, or one the replacement will report on
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h.get()) != FILE_TYPE_DISK) {
        target.direct = true;
    } else if (GetFileInformationByHandle(h.get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        target.folder = true;
    } else if (GetFileAttributesW(wide(path)) & FILE_ATTRIBUTE_REPARSE_POINT) {
        wchar_t final_path[32768];
        const DWORD length = GetFinalPathNameByHandleW(h.get(), final_path, 32768, FILE_NAME_NORMALIZED);
        if (length > 0 && length < 32768)
            target.path = from_wide(final_path, length);
    }
    return target;
}

}  // namespace

struct FileReplacement::State {
    std::u16string target;
    std::u16string temporary;  // empty when writing to the target directly
    UniqueFile handle;
};

bool FileReplacement::replaces() const noexcept {
    return state_ && !state_->temporary.empty();
}

FileReplacement::FileReplacement() = default;

FileReplacement::~FileReplacement() {
    abandon();
}

bool FileReplacement::begin(std::u16string_view path, std::u16string& problem) {
    abandon();
    auto state = std::make_unique<State>();
    const Target target = examine(std::u16string(path));
    if (target.folder) {
        problem = u"it is a folder";  // said now, before any work is done for it
        return false;
    }
    state->target = target.path;
    if (target.direct) {
        state->handle.reset(CreateFileW(wide(state->target), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        if (!state->handle) {
            problem = reason(u"cannot open it for writing", GetLastError());
            return false;
        }
        state_ = std::move(state);
        return true;
    }
    install_interrupt_cleanup();
    // A name nobody else uses: CREATE_NEW refuses one that exists.
    for (unsigned attempt = 0; attempt < 100 && !state->handle; ++attempt) {
        const std::u16string suffix =
            utf16_from_utf8(".tmp" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt));
        // Cut short where the target's name leaves no room for the suffix.
        state->temporary = cut_last_name(state->target, suffix.size()) + suffix;
        remove_on_break(state->temporary);
        state->handle.reset(CreateFileW(wide(state->temporary), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!state->handle && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!state->handle) {
        const DWORD error = GetLastError();
        keep_on_break();
        problem = reason(u"cannot create a temporary file beside it", error);
        return false;
    }
    state_ = std::move(state);
    return true;
}

bool FileReplacement::write(const void* bytes, std::size_t count, std::u16string& problem) {
    if (!state_) {
        problem = u"cannot write: not open";
        return false;
    }
    const char* at = static_cast<const char*>(bytes);
    while (count > 0) {
        const DWORD chunk = static_cast<DWORD>(count < (1u << 24) ? count : (1u << 24));
        DWORD written = 0;
        if (!WriteFile(state_->handle.get(), at, chunk, &written, nullptr) || written == 0) {
            problem = reason(u"cannot write", GetLastError());
            return false;
        }
        at += written;
        count -= written;
    }
    return true;
}

bool FileReplacement::commit(std::u16string& problem) {
    if (!state_) {
        problem = u"cannot write: not open";
        return false;
    }
    State& s = *state_;
    if (s.temporary.empty()) {
        state_.reset();
        return true;
    }
    if (!FlushFileBuffers(s.handle.get())) {
        const DWORD error = GetLastError();
        abandon();
        problem = reason(u"cannot write", error);
        return false;
    }
    s.handle.reset();
    if (!MoveFileExW(wide(s.temporary), wide(s.target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        abandon();
        problem = reason(u"cannot replace it", error);
        return false;
    }
    keep_on_break();
    state_.reset();
    return true;
}

void FileReplacement::abandon() noexcept {
    if (!state_)
        return;
    state_->handle.reset();  // before the temporary file can be deleted
    if (!state_->temporary.empty()) {
        keep_on_break();
        DeleteFileW(wide(state_->temporary));
    }
    state_.reset();
}
