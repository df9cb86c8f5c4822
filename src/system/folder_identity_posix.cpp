// Folder and file identities on POSIX: device and inode of what the path leads to.
#include "system/folder_identity.h"

#include <sys/stat.h>

#include <string>

#include "system/utf.h"

namespace {

std::optional<FolderIdentity> identity(std::u16string_view path, bool folder) {
    const std::string p = utf8_from_utf16(path);
    struct stat st {};
    if (p.empty() || stat(p.c_str(), &st) != 0 || (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)))
        return std::nullopt;
    return FolderIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

// stat gives both at once: `with_volume` changes nothing.
std::optional<FolderIdentity> folder_identity(std::u16string_view path, bool) {
    return identity(path, true);
}

std::optional<FolderIdentity> file_identity(std::u16string_view path) {
    return identity(path, false);
}

std::optional<FolderIdentity> standard_output_identity(std::int64_t& size) {
    struct stat st {};
    if (fstat(1, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    size = static_cast<std::int64_t>(st.st_size);
    return FolderIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}
