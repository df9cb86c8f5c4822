// Unicode text onto the Windows clipboard.
#include "system/clipboard.h"

#include <cstring>

#include "system/handles_win32.h"

ClipboardSet put_clipboard_text(std::u16string_view text) {
    // The copy is made before the clipboard is opened: other programs wait
    // for an open clipboard, and copying hundreds of megabytes takes a while.
    // A failure here leaves the clipboard as it was.
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    UniqueHglobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return ClipboardSet::Unchanged;
    {
        const LockedGlobal<char16_t> target(memory.get());
        if (!target.get())
            return ClipboardSet::Unchanged;
        std::memcpy(target.get(), text.data(), text.size() * sizeof(char16_t));
        target.get()[text.size()] = 0;
    }
    const OpenedClipboard clipboard;
    if (!clipboard || !EmptyClipboard())
        return ClipboardSet::Unchanged;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get()))
        return ClipboardSet::Emptied;
    (void)memory.release();  // the system owns it now
    return ClipboardSet::Set;
}

bool set_clipboard_text(std::u16string_view text) {
    return put_clipboard_text(text) == ClipboardSet::Set;
}
