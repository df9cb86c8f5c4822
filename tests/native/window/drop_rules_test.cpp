#include "window/drop_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint32_t C = DROP_COPY, M = DROP_MOVE, L = DROP_LINK;
constexpr std::uint32_t CTRL = DROP_KEY_CTRL, SHIFT = DROP_KEY_SHIFT, ALT = DROP_KEY_ALT;
// Mouse buttons travel in the same key state and must not change the choice.
constexpr std::uint32_t LEFT_BUTTON = 0x1, RIGHT_BUTTON = 0x2;

struct Case {
    std::uint32_t allowed, accepted, keys, expected;
};

TEST(ChooseDropAction, ModifierKeysPickAmongTheActionsBothSidesAllow) {
    const Case cases[] = {
        // No key: copy first, then move, then link.
        {C | M | L, C | M | L, 0, C},
        {M | L, C | M | L, 0, M},
        {L, C | M | L, 0, L},
        {C | M | L, L, 0, L},
        // Ctrl+Shift or Alt alone: link where both allow it.
        {C | M | L, C | M | L, CTRL | SHIFT, L},
        {C | M | L, C | M | L, ALT, L},
        {C | M, C | M | L, CTRL | SHIFT, C},
        {C | M | L, C | M, ALT, C},
        // Alt with another key is not the link gesture.
        {C | M | L, C | M | L, ALT | SHIFT, C},
        {C | M | L, C | M | L, ALT | CTRL, C},
        // Shift alone: move.
        {C | M | L, C | M | L, SHIFT, M},
        {C | L, C | M | L, SHIFT, C},
        // Ctrl alone: copy as without keys.
        {C | M | L, C | M | L, CTRL, C},
        {M, C | M | L, CTRL, M},
        // Buttons and unrelated bits are ignored.
        {C | M | L, C | M | L, SHIFT | LEFT_BUTTON, M},
        {C | M | L, C | M | L, ALT | RIGHT_BUTTON | 0x10, L},
        // Nothing in common.
        {C, M | L, 0, 0},
        {0, C | M | L, SHIFT, 0},
        {C | M | L, 0, ALT, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(choose_drop_action(c.allowed, c.accepted, c.keys), c.expected)
            << "allowed " << c.allowed << " accepted " << c.accepted << " keys " << c.keys;
}

std::vector<std::uint32_t> keys_of(const DropAcceptList& list) {
    std::vector<std::uint32_t> keys;
    for (const auto& e : list.entries())
        keys.push_back(e.key);
    return keys;
}

TEST(DropAcceptance, EnablingAgainReplacesTheActionsAndKeepsOneEntryNewestFirst) {
    DropAcceptance a;
    EXPECT_FALSE(a.apply(DROP_FORMAT_FILES, C, 0));
    EXPECT_FALSE(a.apply(DROP_FORMAT_UNICODE_TEXT, C | M, 0));
    EXPECT_FALSE(a.apply(DROP_FORMAT_FILES, C | M | L, 0));
    EXPECT_EQ(keys_of(a.formats), (std::vector<std::uint32_t>{DROP_FORMAT_UNICODE_TEXT, DROP_FORMAT_FILES}));
    ASSERT_NE(a.formats.find(DROP_FORMAT_FILES), nullptr);
    EXPECT_EQ(a.formats.find(DROP_FORMAT_FILES)->actions, C | M | L);
    EXPECT_TRUE(a.private_types.empty());
}

TEST(DropAcceptance, RemovingTheLastFormatOfBothListsReportsEmpty) {
    DropAcceptance a;
    a.apply(DROP_FORMAT_FILES, C, 0);
    a.apply(DROP_FORMAT_PRIVATE, M, 77);
    EXPECT_FALSE(a.apply(DROP_FORMAT_FILES, 0, 0));
    EXPECT_FALSE(a.apply(DROP_FORMAT_PRIVATE, 0, 78));  // another private type: nothing removed
    EXPECT_FALSE(a.apply(DROP_FORMAT_UNICODE_TEXT, 0, 0));
    EXPECT_TRUE(a.apply(DROP_FORMAT_PRIVATE, 0, 77));
    EXPECT_TRUE(a.empty());
}

TEST(DropAcceptance, TextStandsForItsThreeFormatsWhenEnabledAndRemoved) {
    DropAcceptance a;
    a.apply(DROP_FORMAT_FILES, C, 0);
    a.apply(DROP_FORMAT_TEXT, M, 0);
    // Enabled in the order 1, 7, 13, each put at the head.
    EXPECT_EQ(keys_of(a.formats), (std::vector<std::uint32_t>{DROP_FORMAT_UNICODE_TEXT, DROP_FORMAT_OEM_TEXT,
                                                              DROP_FORMAT_TEXT, DROP_FORMAT_FILES}));
    for (const auto& e : a.formats.entries())
        EXPECT_EQ(e.actions, e.key == DROP_FORMAT_FILES ? C : M);
    EXPECT_FALSE(a.apply(DROP_FORMAT_TEXT, 0, 0));
    EXPECT_EQ(keys_of(a.formats), (std::vector<std::uint32_t>{DROP_FORMAT_FILES}));
}

TEST(DropAcceptance, PrivateTypesAreKeyedByTypeNotFormat) {
    DropAcceptance a;
    a.apply(DROP_FORMAT_PRIVATE, C, 5);
    a.apply(DROP_FORMAT_PRIVATE, L, 6);
    a.apply(DROP_FORMAT_PRIVATE, M, 5);
    EXPECT_TRUE(a.formats.empty());
    EXPECT_EQ(keys_of(a.private_types), (std::vector<std::uint32_t>{6, 5}));
    EXPECT_EQ(a.private_types.find(5)->actions, M);
}

TEST(DropAcceptList, FirstMatchSkipsEntriesWithoutACommonActionOrFormat) {
    DropAcceptList list;
    list.set(DROP_FORMAT_FILES, C);
    list.set(DROP_FORMAT_UNICODE_TEXT, L);
    list.set(DROP_FORMAT_OEM_TEXT, C);  // head
    auto has = [](std::uint32_t format) { return format != DROP_FORMAT_OEM_TEXT; };
    const auto* hit = list.first_match(C | M, has);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->key, DROP_FORMAT_FILES);  // 7 is not offered, 13 allows only link
    EXPECT_EQ(list.first_match(M, has), nullptr);
    EXPECT_EQ(list.first_match(C | L, has)->key, DROP_FORMAT_UNICODE_TEXT);
}

}  // namespace
