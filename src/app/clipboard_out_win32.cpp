// The generator's text onto the Windows clipboard.
#include "app/clipboard_out.h"

#include "system/clipboard.h"

GenerationStatus put_on_clipboard(std::u16string_view text) noexcept {
    return set_clipboard_text(text) ? GenerationStatus::Ok : GenerationStatus::ClipboardRefused;
}
