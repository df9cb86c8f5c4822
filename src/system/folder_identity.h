// Which folder a path leads to, after links and junctions: two paths with the
// same identity name one folder, so a walk can tell when it comes back.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;  // the folder's number on its volume
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
    friend auto operator<=>(const FolderIdentity&, const FolderIdentity&) = default;
};

// The identity of the folder at `path` (links followed); none when the path
// does not lead to a folder or the platform cannot tell.
[[nodiscard]] std::optional<FolderIdentity> folder_identity(std::u16string_view path);
