// The native Linux build has no clipboard: the text is for other callers
// (tests, the command line), and asking for the clipboard says so.
#include "app/clipboard_out.h"

GenerationStatus put_on_clipboard(std::u16string_view) noexcept {
    return GenerationStatus::NoClipboard;
}

void close_clipboard_output() noexcept {}
