// Folder identities on POSIX: device and inode of what the path leads to.
#include "system/folder_identity.h"

#include <sys/stat.h>

#include <string>

#include "system/utf.h"

// stat gives both at once: `with_volume` changes nothing.
std::optional<FolderIdentity> folder_identity(std::u16string_view path, bool) {
    const std::string p = utf8_from_utf16(path);
    struct stat st {};
    if (p.empty() || stat(p.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return FolderIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}
