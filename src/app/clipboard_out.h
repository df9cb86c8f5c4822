// The generator's way to the clipboard, where the build has one.
#pragma once

#include <string_view>

#include "app/data_section.h"

// Ok, ClipboardRefused, ClipboardEmptied, OutOfMemory (no memory for the
// clipboard's copy), or NoClipboard in a build without a clipboard.
[[nodiscard]] GenerationStatus put_on_clipboard(std::u16string_view text) noexcept;

// For the program's end, from any thread: waits for a set under way to finish
// (a process ended inside one leaves the clipboard empty), after which
// put_on_clipboard leaves the clipboard alone.
void close_clipboard_output() noexcept;
