// Clipboard text. Windows only: the native Linux build has no clipboard, and
// this is defined in clipboard_win32.cpp alone.
#pragma once

#include <string_view>

enum class ClipboardSet {
    Set,
    Unchanged,        // it could not be opened (another program holds it)
    NoMemory,         // unchanged: no memory for the clipboard's copy of the text
    Emptied,          // it was emptied, then did not take the text
    EmptiedNoMemory,  // emptied, then it had no memory for the text
};

// Replaces the clipboard's content by the text as Unicode text.
[[nodiscard]] ClipboardSet put_clipboard_text(std::u16string_view text);

// The same, as a yes or no.
[[nodiscard]] bool set_clipboard_text(std::u16string_view text);

// For the program's end, from any thread: waits (at most 10 s) for a hand-over
// that has opened the clipboard (a process ended inside one leaves it empty);
// later calls leave the clipboard unchanged.
void stop_clipboard_writes() noexcept;
