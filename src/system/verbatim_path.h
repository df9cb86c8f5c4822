// Full Windows paths in the form the platform takes as they stand.
#pragma once

#include <string>
#include <string_view>

// "\\?\" in front of a drive path ("C:\…"), "\\?\UNC\" in place of a share's
// "\\", when the path needs it: the platform otherwise drops trailing dots and
// spaces from every name ("end." opens "end", "dir.\x" reads "dir\x"), opens
// a device for a file named like one ("C:\x\aux.txt" is AUX), and, without
// long path support, refuses paths of 248 units or more. Paths that do
// not need it, and paths not already in the platform's own form (a "/", a "."
// or ".." part, an empty part, a relative path), come back as they are: the
// platform does not tidy a "\\?\" path, so it must be whole already.
[[nodiscard]] std::u16string verbatim_path(std::u16string_view path);

// Whether the plain form takes the name for a device ("aux.txt" is AUX, "COM1"
// a serial port), whatever follows its first dot and in any letter case.
[[nodiscard]] bool is_device_name(std::u16string_view name);
