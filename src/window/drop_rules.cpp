// The modifier-key rule and the accepted-format lists of drop targets.
#include "window/drop_rules.h"

#include <algorithm>
#include <span>

std::uint32_t choose_drop_action(std::uint32_t allowed, std::uint32_t accepted, std::uint32_t key_state) {
    const std::uint32_t a = allowed & accepted;
    const std::uint32_t keys = key_state & (DROP_KEY_CTRL | DROP_KEY_SHIFT | DROP_KEY_ALT);
    if ((a & DROP_LINK) && (keys == (DROP_KEY_CTRL | DROP_KEY_SHIFT) || keys == DROP_KEY_ALT))
        return DROP_LINK;
    if ((a & DROP_MOVE) && (keys == DROP_KEY_SHIFT || !(a & DROP_COPY)))
        return DROP_MOVE;
    if (a & DROP_COPY)
        return DROP_COPY;
    if (a & DROP_MOVE)
        return DROP_MOVE;
    return a & DROP_LINK;
}

void DropAcceptList::set(std::uint32_t key, std::uint32_t actions) {
    for (Entry& e : entries_)
        if (e.key == key) {
            e.actions = actions;
            return;
        }
    entries_.insert(entries_.begin(), Entry{key, actions});
}

bool DropAcceptList::remove(std::uint32_t key) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [key](const Entry& e) { return e.key == key; });
    if (it == entries_.end())
        return false;
    entries_.erase(it);
    return true;
}

const DropAcceptList::Entry* DropAcceptList::find(std::uint32_t key) const {
    for (const Entry& e : entries_)
        if (e.key == key)
            return &e;
    return nullptr;
}

bool DropAcceptance::apply(std::uint32_t format, std::uint32_t actions, std::uint32_t private_type) {
    const std::uint32_t text_formats[] = {DROP_FORMAT_TEXT, DROP_FORMAT_OEM_TEXT, DROP_FORMAT_UNICODE_TEXT};
    const std::uint32_t one[] = {format};
    const bool text = format == DROP_FORMAT_TEXT;
    for (std::uint32_t f : text ? std::span<const std::uint32_t>(text_formats) : std::span<const std::uint32_t>(one)) {
        DropAcceptList& list = f == DROP_FORMAT_PRIVATE ? private_types : formats;
        const std::uint32_t key = f == DROP_FORMAT_PRIVATE ? private_type : f;
        if (actions == 0)
            list.remove(key);
        else
            list.set(key, actions);
    }
    return empty();
}
