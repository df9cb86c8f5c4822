// The generator's text onto the Windows clipboard.
#include "app/clipboard_out.h"

#include "system/clipboard.h"

GenerationStatus put_on_clipboard(std::u16string_view text) noexcept {
    switch (put_clipboard_text(text)) {
        case ClipboardSet::Set:
            return GenerationStatus::Ok;
        case ClipboardSet::Emptied:
            return GenerationStatus::ClipboardEmptied;
        case ClipboardSet::EmptiedNoMemory:
            return GenerationStatus::ClipboardEmptiedNoMemory;
        case ClipboardSet::NoMemory:
            // Copying it again would fail again: the user must make it smaller.
            return GenerationStatus::OutOfMemory;
        case ClipboardSet::Unchanged:
            break;
    }
    return GenerationStatus::ClipboardRefused;
}

void close_clipboard_output() noexcept {
    stop_clipboard_writes();
}
