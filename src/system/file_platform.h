// Internal seam between the portable file layer (file.cpp) and each platform's
// file calls (file_win32.cpp, file_posix.cpp).
#pragma once

#include <cstdint>
#include <string_view>

struct FileStamp;

// A platform file: the HANDLE on Windows, the descriptor + 1 on POSIX; 0 is none.
using NativeFile = std::intptr_t;

// Opens an existing plain file for reading, not shared; 0 on failure. A
// platform that learns the file's stamp while opening fills `stamp` (it is
// left as it was otherwise).
[[nodiscard]] NativeFile native_open_read(std::u16string_view path, FileStamp& stamp);

// Reads up to `bytes` bytes; returns how many arrived (fewer only at the end
// of the file or when the platform fails).
[[nodiscard]] std::int64_t native_read(NativeFile file, void* destination, std::int64_t bytes);

// The platform's file pointer; -1 on failure.
[[nodiscard]] std::int64_t native_pointer(NativeFile file);

// The file's length; -1 on failure.
[[nodiscard]] std::int64_t native_length(NativeFile file);

// False when the platform cannot tell.
[[nodiscard]] bool native_stamp(NativeFile file, FileStamp& stamp);

void native_close(NativeFile file);
