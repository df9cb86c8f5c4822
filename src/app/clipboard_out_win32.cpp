// The generator's text onto the Windows clipboard.
#include "app/clipboard_out.h"

#include <atomic>

#include "system/clipboard.h"
#include "system/win32.h"

namespace {

// Held through a set. A slim lock needs no set-up: the end of the program may
// take it while another thread is held anywhere (inside the heap, say).
SRWLOCK g_setting = SRWLOCK_INIT;
std::atomic<bool> g_closed{false};

}  // namespace

GenerationStatus put_on_clipboard(std::u16string_view text) noexcept {
    AcquireSRWLockExclusive(&g_setting);
    ClipboardSet set = ClipboardSet::Unchanged;
    if (!g_closed)  // else the program is ending: nobody waits for the text
        set = put_clipboard_text(text);
    ReleaseSRWLockExclusive(&g_setting);
    switch (set) {
        case ClipboardSet::Set:
            return GenerationStatus::Ok;
        case ClipboardSet::Emptied:
            return GenerationStatus::ClipboardEmptied;
        case ClipboardSet::Unchanged:
            break;
    }
    return GenerationStatus::ClipboardRefused;
}

void close_clipboard_output() noexcept {
    // A clipboard that never answers must not keep the program from ending:
    // at most 10 s.
    for (int waited = 0; waited < 1000; ++waited) {
        if (TryAcquireSRWLockExclusive(&g_setting)) {
            g_closed = true;
            ReleaseSRWLockExclusive(&g_setting);
            return;
        }
        Sleep(10);
    }
    g_closed = true;
}
