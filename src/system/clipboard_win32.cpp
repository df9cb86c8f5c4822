// Unicode text onto the Windows clipboard.
#include "system/clipboard.h"

#include <cstring>

#include "system/handles_win32.h"

bool set_clipboard_text(std::u16string_view text) {
    // The copy is made before the clipboard is opened: other programs wait
    // for an open clipboard, and copying hundreds of megabytes takes a while.
    // A failure here leaves the clipboard as it was.
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    UniqueHglobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return false;
    {
        const LockedGlobal<char16_t> target(memory.get());
        if (!target.get())
            return false;
        std::memcpy(target.get(), text.data(), text.size() * sizeof(char16_t));
        target.get()[text.size()] = 0;
    }
    const OpenedClipboard clipboard;
    if (!clipboard)
        return false;
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory.get()))
        return false;
    (void)memory.release();  // the system owns it now
    return true;
}
