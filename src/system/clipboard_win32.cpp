// Unicode text onto the Windows clipboard.
#include "system/clipboard.h"

#include <cstring>

#include "system/handles_win32.h"

bool set_clipboard_text(std::u16string_view text) {
    const OpenedClipboard clipboard;
    if (!clipboard)
        return false;
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    // Allocated before the clipboard is emptied, so a failure leaves it as it was.
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
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory.get()))
        return false;
    (void)memory.release();  // the system owns it now
    return true;
}
