// Console streams and arguments on Windows.
#include "system/win32.h"

#include <shellapi.h>

#include <algorithm>

#include "system/console.h"
#include "system/utf.h"
#include "system/verbatim_path.h"
#include "system/wide.h"

namespace {

HANDLE handle_of(StandardStream stream) {
    return GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool is_console(HANDLE h) {
    DWORD mode = 0;
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0;
}

}  // namespace

bool stream_is_terminal(StandardStream stream) {
    return is_console(handle_of(stream));
}

bool write_stream_bytes(StandardStream stream, std::string_view bytes) {
    // WriteFile on the handle itself: the C runtime's text mode would turn
    // every LF into CR LF.
    HANDLE h = handle_of(stream);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);  // a program started without the stream
        return false;
    }
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool write_stream_text(StandardStream stream, std::u16string_view text) {
    HANDLE h = handle_of(stream);
    if (!is_console(h))
        return write_stream_bytes(stream, utf8_from_utf16(text));
    while (!text.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 8192));
        if (!WriteConsoleW(h, reinterpret_cast<const wchar_t*>(text.data()), chunk, &written, nullptr) || written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

// A closed standard handle is not given to the next file opened on Windows.
void keep_standard_streams() {}

ProgramArguments program_arguments(int, char**) {
    ProgramArguments arguments;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.texts.push_back(from_wide(list[i]));
    LocalFree(list);
    return arguments;
}

namespace {

std::u16string full_path(const std::u16string& p) {
    const DWORD needed = GetFullPathNameW(wide(p), 0, nullptr, nullptr);
    if (needed == 0)
        return p;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide(p), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return p;
    return from_wide(full.data(), length);
}

}  // namespace

std::u16string absolute_path(std::u16string_view path) {
    if (path.empty())
        return std::u16string();
    const std::u16string p(path);
    const std::u16string full = full_path(p);
    // The plain form makes a last name such as "aux.txt" the device; given as
    // a path to read, it is the file of that name, as a folder walk finds it.
    const std::size_t cut = p.find_last_of(u"\\/");
    const std::u16string name = cut == std::u16string::npos ? p : p.substr(cut + 1);
    if (!full.starts_with(u"\\\\.\\") || p.starts_with(u"\\\\") || !is_device_name(name))
        return full;
    std::u16string folder = full_path(cut == std::u16string::npos ? u"." : p.substr(0, cut + 1));
    if (!folder.empty() && folder.back() != u'\\')
        folder += u'\\';
    return folder + name;
}
