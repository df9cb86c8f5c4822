// Clipboard text. Windows only: the native Linux build has no clipboard, and
// this is defined in clipboard_win32.cpp alone.
#pragma once

#include <string_view>

// Replaces the clipboard's content by the text as Unicode text. False, with
// the clipboard unchanged, when it cannot be opened (another program holds it)
// or the memory for the text cannot be had.
[[nodiscard]] bool set_clipboard_text(std::u16string_view text);
