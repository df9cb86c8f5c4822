// The generator's way to the clipboard, where the build has one.
#pragma once

#include <string_view>

#include "app/data_section.h"

// Ok, ClipboardRefused, or NoClipboard in a build without a clipboard.
[[nodiscard]] GenerationStatus put_on_clipboard(std::u16string_view text) noexcept;
