// Folder identities on Windows: volume serial number and file index of the
// folder a path leads to (junctions and symbolic links followed by the open).
#include "system/win32.h"

#include <string>

#include "system/folder_identity.h"
#include "system/handles_win32.h"
#include "system/wide.h"

std::optional<FolderIdentity> folder_identity(std::u16string_view path) {
    if (path.empty())
        return std::nullopt;
    const std::u16string p(path);
    // Backup semantics is what lets CreateFileW open a folder; no access
    // rights are needed to read its identity, and sharing everything keeps
    // the walk from disturbing anyone.
    const UniqueFile folder(CreateFileW(wide(p), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(folder.get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}
