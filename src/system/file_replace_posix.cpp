// Whole-file replacement on POSIX: mkstemp beside the target, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "system/file_replace.h"
#include "system/posix_write.h"
#include "system/utf.h"

namespace {

std::u16string reason(const char* what, int error) {
    return utf16_from_utf8(std::string(what) + ": " + std::strerror(error));
}

}  // namespace

bool replace_file_contents(std::u16string_view path, std::string_view bytes, std::u16string& problem) {
    const std::string target = utf8_from_utf16(path);
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        problem = reason("cannot create a temporary file beside it", errno);
        return false;
    }
    // mkstemp makes the file private; give it the mode a new file would get,
    // or the mode of the file it replaces.
    struct stat old {};
    mode_t mode = 0;
    if (stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = write_all(fd, bytes);
    int error = errno;
    if (ok && fchmod(fd, mode) != 0) {
        ok = false;
        error = errno;
    }
    if (ok && fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        problem = reason("cannot write", error);
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        unlink(temporary.c_str());
        problem = reason("cannot replace it", error);
        return false;
    }
    return true;
}
