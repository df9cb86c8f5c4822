// The generator's text onto the Windows clipboard.
#include "app/clipboard_out.h"

#include <atomic>
#include <chrono>
#include <mutex>

#include "system/clipboard.h"

namespace {

// Held through a set; recursive so that an end from the setting thread itself
// cannot wait for itself.
std::recursive_timed_mutex g_setting;
std::atomic<bool> g_closed{false};

}  // namespace

GenerationStatus put_on_clipboard(std::u16string_view text) noexcept {
    const std::lock_guard guard(g_setting);
    if (g_closed)
        return GenerationStatus::ClipboardRefused;  // the program is ending: nobody waits for it
    switch (put_clipboard_text(text)) {
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
    // A clipboard that never answers must not keep the program from ending.
    if (g_setting.try_lock_for(std::chrono::seconds(10))) {
        g_closed = true;
        g_setting.unlock();
    } else {
        g_closed = true;
    }
}
