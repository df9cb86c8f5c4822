// What a drop target accepts and which action a drag gets: the accepted
// formats and private types of one target, and the modifier-key rule.
#pragma once

#include <cstdint>
#include <vector>

// Drop formats are the platform's clipboard format numbers.
inline constexpr std::uint32_t DROP_FORMAT_TEXT = 1;
inline constexpr std::uint32_t DROP_FORMAT_OEM_TEXT = 7;
inline constexpr std::uint32_t DROP_FORMAT_UNICODE_TEXT = 13;
inline constexpr std::uint32_t DROP_FORMAT_FILES = 15;
// A private drag of this system; the private type travels as the data's first 32 bits.
inline constexpr std::uint32_t DROP_FORMAT_PRIVATE = 512;

// Actions are bit sets.
inline constexpr std::uint32_t DROP_COPY = 1;
inline constexpr std::uint32_t DROP_MOVE = 2;
inline constexpr std::uint32_t DROP_LINK = 4;

// Modifier bits of a drag's key state.
inline constexpr std::uint32_t DROP_KEY_SHIFT = 0x4;
inline constexpr std::uint32_t DROP_KEY_CTRL = 0x8;
inline constexpr std::uint32_t DROP_KEY_ALT = 0x20;

// Ctrl+Shift or Alt alone ask for link, Shift alone for move; otherwise copy
// is preferred, then move, then link. 0 when allowed and accepted share no action.
[[nodiscard]] std::uint32_t choose_drop_action(std::uint32_t allowed, std::uint32_t accepted, std::uint32_t key_state);

// One list of (key, actions), newest first: keys are formats, or private types.
class DropAcceptList {
public:
    struct Entry {
        std::uint32_t key;
        std::uint32_t actions;
    };

    // Replaces the actions of key, or puts (key, actions) at the head.
    void set(std::uint32_t key, std::uint32_t actions);
    // False if key was not in the list.
    bool remove(std::uint32_t key);
    // The first entry, from the head, whose key passes has (when given) and
    // whose actions share a bit with allowed; null if none.
    template <class Has>
    [[nodiscard]] const Entry* first_match(std::uint32_t allowed, Has&& has) const {
        for (const Entry& e : entries_)
            if ((e.actions & allowed) && has(e.key))
                return &e;
        return nullptr;
    }
    [[nodiscard]] const Entry* find(std::uint32_t key) const;
    [[nodiscard]] bool empty() const { return entries_.empty(); }
    [[nodiscard]] const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;  // index 0 is the head
};

// The two lists of a drop target.
struct DropAcceptance {
    DropAcceptList formats;
    DropAcceptList private_types;

    // Enables (actions non-zero) or removes (actions 0) a format; for
    // DROP_FORMAT_PRIVATE the entry is keyed by private_type. Text stands for
    // its three formats (1, 7, 13), both ways. Returns true when afterwards
    // nothing at all is accepted.
    bool apply(std::uint32_t format, std::uint32_t actions, std::uint32_t private_type);
    [[nodiscard]] bool empty() const { return formats.empty() && private_types.empty(); }
};
