// Unicode text onto the Windows clipboard.
#include "system/clipboard.h"

#include <atomic>
#include <cstring>

#include "system/handles_win32.h"

namespace {

// Held from the opening of the clipboard to its closing, the only stretch in
// which an end of the process would leave it empty. A slim lock needs no
// set-up: the end may take it while another thread is held anywhere.
SRWLOCK g_handing_over = SRWLOCK_INIT;
std::atomic<bool> g_stopped{false};

}  // namespace

ClipboardSet put_clipboard_text(std::u16string_view text) {
    // The copy is made before the clipboard is opened: other programs wait
    // for an open clipboard, and copying hundreds of megabytes takes a while.
    // A failure here leaves the clipboard as it was.
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    UniqueHglobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return ClipboardSet::NoMemory;
    {
        const LockedGlobal<char16_t> target(memory.get());
        if (!target.get())
            return ClipboardSet::NoMemory;
        std::memcpy(target.get(), text.data(), text.size() * sizeof(char16_t));
        target.get()[text.size()] = 0;
    }
    AcquireSRWLockExclusive(&g_handing_over);
    ClipboardSet result = ClipboardSet::Unchanged;
    if (!g_stopped) {
        const OpenedClipboard clipboard;
        if (clipboard && EmptyClipboard()) {
            result = ClipboardSet::Emptied;
            if (SetClipboardData(CF_UNICODETEXT, memory.get())) {
                (void)memory.release();  // the system owns it now
                result = ClipboardSet::Set;
            } else if (const DWORD error = GetLastError(); error == ERROR_NOT_ENOUGH_MEMORY ||
                                                           error == ERROR_OUTOFMEMORY ||
                                                           error == ERROR_NO_SYSTEM_RESOURCES) {
                // Where the clipboard keeps its own copy (under Wine, in its
                // server), a text this process could hold may not fit there.
                result = ClipboardSet::EmptiedNoMemory;
            }
        }
    }
    ReleaseSRWLockExclusive(&g_handing_over);
    return result;
}

void stop_clipboard_writes() noexcept {
    // A clipboard that never answers must not keep the program from ending.
    for (int waited = 0; waited < 1000; ++waited) {
        if (TryAcquireSRWLockExclusive(&g_handing_over)) {
            g_stopped = true;
            ReleaseSRWLockExclusive(&g_handing_over);
            return;
        }
        Sleep(10);
    }
    g_stopped = true;
}

bool set_clipboard_text(std::u16string_view text) {
    return put_clipboard_text(text) == ClipboardSet::Set;
}
