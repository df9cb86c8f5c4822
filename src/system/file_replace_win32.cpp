// Whole-file replacement on Windows: a new temporary file beside the target,
// flushed, then moved over it.
#include "system/win32.h"

#include <string>

#include "system/file_replace.h"
#include "system/utf.h"
#include "system/wide.h"

namespace {

std::u16string reason(const char16_t* what, DWORD error) {
    wchar_t* text = nullptr;
    std::u16string result = what;
    if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) != 0 &&
        text) {
        std::u16string message = from_wide(text);
        while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u' '))
            message.pop_back();
        result += u": " + message;
        LocalFree(text);
    } else {
        result += u": error " + utf16_from_utf8(std::to_string(error));
    }
    return result;
}

}  // namespace

bool replace_file_contents(std::u16string_view path, std::string_view bytes, std::u16string& problem) {
    const std::u16string target(path);
    std::u16string temporary;
    HANDLE h = INVALID_HANDLE_VALUE;
    // A name nobody else uses: CREATE_NEW refuses one that exists.
    for (unsigned attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temporary =
            target + utf16_from_utf8(".tmp" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt));
        h = CreateFileW(wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (h == INVALID_HANDLE_VALUE) {
        problem = reason(u"cannot create a temporary file beside it", GetLastError());
        return false;
    }
    bool ok = true;
    DWORD error = 0;
    while (ok && !bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 24) ? bytes.size() : (1u << 24));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) {
            ok = false;
            error = GetLastError();
        }
        bytes.remove_prefix(written);
    }
    if (ok && !FlushFileBuffers(h)) {
        ok = false;
        error = GetLastError();
    }
    CloseHandle(h);
    if (!ok) {
        DeleteFileW(wide(temporary));
        problem = reason(u"cannot write", error);
        return false;
    }
    if (!MoveFileExW(wide(temporary), wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileW(wide(temporary));
        problem = reason(u"cannot replace it", error);
        return false;
    }
    return true;
}
