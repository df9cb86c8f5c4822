// Unicode text onto the Windows clipboard.
#include "system/clipboard.h"

#include <cstring>

#include "system/win32.h"

namespace {

// Another program (a clipboard viewer, a remote-desktop client) may hold the
// clipboard open for a moment: try a few times before giving up.
bool open_clipboard() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

bool set_clipboard_text(std::u16string_view text) {
    if (!open_clipboard())
        return false;
    bool done = false;
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    // Allocated before the clipboard is emptied, so a failure leaves it as it was.
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.data(), text.size() * sizeof(char16_t));
            static_cast<char16_t*>(target)[text.size()] = 0;
            GlobalUnlock(memory);
            if (EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory))
                done = true;  // the system owns it now
        }
        if (!done)
            GlobalFree(memory);
    }
    CloseClipboard();
    return done;
}
