// What both generators say of the entries they leave out.
#include "app/left_out.h"

#include "app/dropped_files.h"
#include "system/error_text.h"
#include "system/file.h"

void add_unusable_entries(FileMap& map, std::vector<LeftOut>& left_out) {
    map.walk([&left_out](const std::u16string&, FileEntry& entry) {
        if (entry.size == FILE_ENTRY_TOO_LARGE)
            left_out.push_back({entry.path, LeftOutReason::TooLarge});
        else if (entry.size < 0)
            left_out.push_back({entry.path, LeftOutReason::Gone});
    });
}

bool for_want_of_memory(const LeftOut& left) {
    return left.reason == LeftOutReason::CannotOpen && is_out_of_memory_error(left.error);
}

LeftOut not_opened(const std::u16string& path, bool check_gone) {
    const unsigned long error = last_system_error();
    if (check_gone && file_facts(path).size < 0)
        return {path, LeftOutReason::Gone};
    return {path, LeftOutReason::CannotOpen, error};
}

std::u16string left_out_text(const LeftOut& left) {
    switch (left.reason) {
        case LeftOutReason::Gone:
            return u"no longer there";
        case LeftOutReason::TooLarge:
            return std::u16string(skip_reason_text(SkipReason::TooLarge));
        case LeftOutReason::CannotOpen:
            return left.error != 0 ? u"cannot be opened (" + system_reason(left.error) + u")" : u"cannot be opened";
        case LeftOutReason::ReadFailed:
            return u"could not be read to its end";
        case LeftOutReason::ChangedWhileRead:
            return u"changed while it was read";
    }
    return u"left out";
}
