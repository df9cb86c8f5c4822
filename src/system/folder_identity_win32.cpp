// Folder and file identities on Windows: volume serial number and file number
// of what a path leads to (junctions and symbolic links followed by the open).
#include "system/win32.h"

#include <winternl.h>

#include <cstring>
#include <string>

#include "system/folder_identity.h"
#include "system/handles_win32.h"
#include "system/verbatim_path.h"
#include "system/wide.h"

namespace {

// Windows 8's FILE_ID_INFO and its class, which headers for Windows 7 leave out.
struct FileIdInfo128 {
    ULONGLONG volume;
    BYTE id[16];
};
constexpr auto kFileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

std::optional<FolderIdentity> identity_of(HANDLE opened, bool with_volume, bool want_folder) {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(opened, FileBasicInfo, &basic, sizeof basic) ||
        !(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != !want_folder)
        return std::nullopt;
    if (!with_volume) {
        // The number alone, which kernel32 has no call for: under Wine a
        // stat, where the volume's serial costs 0.4 ms a folder.
        IO_STATUS_BLOCK io{};
        LARGE_INTEGER number{};
        if (NtQueryInformationFile(opened, &io, &number, sizeof number, FileInternalInformation) >= 0) {
            FolderIdentity identity;
            identity.index = static_cast<std::uint64_t>(number.QuadPart);
            return identity;
        }
    }
    // ReFS numbers its folders with 128 bits (Windows 8 and later).
    FileIdInfo128 id{};
    if (GetFileInformationByHandleEx(opened, kFileIdInfo, &id, sizeof id)) {
        FolderIdentity identity;
        identity.volume = id.volume;
        std::memcpy(&identity.index, id.id, 8);
        std::memcpy(&identity.index_high, id.id + 8, 8);
        return identity;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(opened, &info))
        return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::optional<FolderIdentity> identity(std::u16string_view path, bool with_volume, bool want_folder) {
    if (path.empty())
        return std::nullopt;
    const std::u16string p(path);
    // Backup semantics is what lets CreateFileW open a folder; no access
    // rights are needed to read its identity, and sharing everything keeps
    // the walk from disturbing anyone.
    const UniqueFile opened(CreateFileW(wide(verbatim_path(p)), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return opened ? identity_of(opened.get(), with_volume, want_folder) : std::nullopt;
}

}  // namespace

std::optional<FolderIdentity> folder_identity(std::u16string_view path, bool with_volume) {
    return identity(path, with_volume, true);
}

std::optional<FolderIdentity> file_identity(std::u16string_view path) {
    return identity(path, true, false);
}

std::optional<FolderIdentity> standard_output_identity(std::int64_t& size) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    LARGE_INTEGER length{};
    if (!output || output == INVALID_HANDLE_VALUE || GetFileType(output) != FILE_TYPE_DISK ||
        !GetFileSizeEx(output, &length))
        return std::nullopt;
    size = length.QuadPart;
    return identity_of(output, true, false);
}
