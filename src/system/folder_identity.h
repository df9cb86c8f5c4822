// Which folder a path leads to, after links and junctions: two paths with the
// same identity name one folder, so a walk can tell when it comes back.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;       // the folder's number on its volume
    std::uint64_t index_high = 0;  // where the volume numbers with 128 bits
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
    friend auto operator<=>(const FolderIdentity&, const FolderIdentity&) = default;
};

// The identity of the folder at `path` (links followed); none when the path
// does not lead to a folder or the platform cannot tell. Without `with_volume`
// only the number is sure to be read (`volume` may be left 0): on Windows the
// volume is a question of its own, under Wine one to another process, so a
// walk asks for it only when two folders share a number.
[[nodiscard]] std::optional<FolderIdentity> folder_identity(std::u16string_view path, bool with_volume = true);

// The same for a plain file, with its volume: two paths with the same
// identity name one file (through links, or another spelling of the path).
[[nodiscard]] std::optional<FolderIdentity> file_identity(std::u16string_view path);

// The identity of the plain file standard output writes to, and its size now;
// none when it writes to anything else (a terminal, a pipe, a device) or to nothing.
[[nodiscard]] std::optional<FolderIdentity> standard_output_identity(std::int64_t& size);
