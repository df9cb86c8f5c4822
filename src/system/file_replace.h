// Writing a whole file so that readers see either the old content or the
// new, never a part: the bytes go to a temporary file beside it, which then
// takes the file's place. A link is written through (the file it leads to is
// replaced, in its own folder); a target that is not a plain file (a device,
// a pipe) is written to directly, never replaced by a plain file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class FileReplacement {
public:
    FileReplacement();
    // Abandons a replacement that was not committed.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Starts replacing the file at `path`. Until commit() or abandon() the
    // temporary file is also removed when the program is interrupted (SIGINT,
    // SIGTERM, SIGHUP, SIGQUIT; Ctrl+C or Ctrl+Break on Windows).
    [[nodiscard]] bool begin(std::u16string_view path, std::u16string& problem);
    [[nodiscard]] bool write(const void* bytes, std::size_t count, std::u16string& problem);
    // Puts the new content in place. On failure the old file (if any) is
    // untouched and no temporary file is left.
    [[nodiscard]] bool commit(std::u16string& problem);
    // Removes the temporary file; the old file stays as it was.
    void abandon() noexcept;
    // Whether begin() chose a temporary file to replace the target with, not
    // the target itself (a device, a pipe).
    [[nodiscard]] bool replaces() const noexcept;

    struct State;

private:
    std::unique_ptr<State> state_;
};

// The whole replacement in one call.
[[nodiscard]] bool replace_file_contents(std::u16string_view path, std::string_view bytes, std::u16string& problem);
