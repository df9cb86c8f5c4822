// Owners of POSIX descriptors and directory streams (see system/unique_handle.h).
#pragma once

#ifdef _WIN32
#error "system/handles_posix.h is for *_posix.cpp files only"
#endif

#include <dirent.h>
#include <unistd.h>

#include <cerrno>

#include "system/unique_handle.h"

namespace handle_traits {

// Closing keeps errno, so that a caller can still read the failure that made
// it leave.
struct Descriptor {
    using Handle = int;
    static Handle invalid() noexcept { return -1; }
    static void close(Handle fd) noexcept {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
};
struct DirectoryStream {
    using Handle = DIR*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle dir) noexcept {
        const int error = errno;
        closedir(dir);
        errno = error;
    }
};

}  // namespace handle_traits

using UniqueFd = UniqueHandle<handle_traits::Descriptor>;
using UniqueDir = UniqueHandle<handle_traits::DirectoryStream>;
