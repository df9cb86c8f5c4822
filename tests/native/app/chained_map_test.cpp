// The file map's buckets and walk order, which decide the winner among
// same-named files.
#include "app/chained_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/file_map.h"

namespace {

std::vector<std::u16string> walk_keys(ChainedMap<int>& map) {
    std::vector<std::u16string> keys;
    map.walk([&keys](const std::u16string& key, int&) { keys.push_back(key); });
    return keys;
}

TEST(ChainedMap, HashesWith65599IntoFiveHundredTwelveBuckets) {
    static_assert(chained_map_hash(u"") == 0);
    static_assert(chained_map_hash(u"a") == 97);
    static_assert(chained_map_hash(u"ab") == 97u * 65599u + 98u);
    // Wraps at 32 bits; these relative paths land in buckets 41 and 424.
    EXPECT_EQ(ChainedMap<int>::bucket_of(u"b\\a.txt"), 41u);
    EXPECT_EQ(ChainedMap<int>::bucket_of(u"a\\a.txt"), 424u);
    EXPECT_EQ(ChainedMap<int>::bucket_of(u"\u00E9\uFFFF"), (0xE9u * 65599u + 0xFFFFu) % 512u);
}

TEST(ChainedMap, WalksBucketsInOrderAndEachChainNewestFirst) {
    ChainedMap<int> map;
    map.insert(u"a\\a.txt") = 1;
    map.insert(u"b\\a.txt") = 2;
    // Three keys of one bucket: 512 apart in a single unit's value.
    const std::u16string x(1, char16_t(600)), y(1, char16_t(600 + 512)), z(1, char16_t(600 + 1024));
    map.insert(x);
    map.insert(y);
    map.insert(z);
    EXPECT_EQ(walk_keys(map), (std::vector<std::u16string>{u"b\\a.txt", z, y, x, u"a\\a.txt"}));

    bool created = true;
    map.insert(y, &created) = 7;  // an existing key keeps its place
    EXPECT_FALSE(created);
    EXPECT_TRUE(map.erase(z));
    EXPECT_FALSE(map.erase(z));
    EXPECT_EQ(walk_keys(map), (std::vector<std::u16string>{u"b\\a.txt", y, x, u"a\\a.txt"}));
    EXPECT_EQ(*map.find(y), 7);
    EXPECT_EQ(map.find(u"A\\A.TXT"), nullptr);  // keys compare exactly
    EXPECT_EQ(map.size(), 4u);
    map.clear();
    EXPECT_TRUE(map.empty());
    EXPECT_TRUE(walk_keys(map).empty());
}

// The order the walk must give, kept the plain way: one list per bucket,
// new keys in front, erased keys cut out.
TEST(ChainedMap, KeepsTheWalkOrderOfPlainChainsThroughManyInsertsAndErases) {
    ChainedMap<int> map;
    std::vector<std::vector<std::u16string>> chains(ChainedMap<int>::kBuckets);
    std::uint32_t random = 12345;
    auto next = [&random] { return random = random * 1103515245u + 12345u; };
    for (int step = 0; step < 60000; ++step) {
        // Few distinct keys, so that inserts repeat and erases hit.
        const std::u16string key = u"k" + std::u16string(1, char16_t(u'a' + next() % 26)) +
                                   std::u16string(1, char16_t(0x100 + (next() >> 8) % 1500));
        std::vector<std::u16string>& chain = chains[ChainedMap<int>::bucket_of(key)];
        const auto at = std::find(chain.begin(), chain.end(), key);
        if (next() % 3 == 0) {
            EXPECT_EQ(map.erase(key), at != chain.end());
            if (at != chain.end())
                chain.erase(at);
        } else {
            bool created = false;
            map.insert(key, &created) = step;
            EXPECT_EQ(created, at == chain.end());
            if (at == chain.end())
                chain.insert(chain.begin(), key);
        }
    }
    std::vector<std::u16string> expected;
    for (const auto& chain : chains)
        expected.insert(expected.end(), chain.begin(), chain.end());
    EXPECT_GT(expected.size(), 10000u);
    EXPECT_EQ(map.size(), expected.size());
    EXPECT_TRUE(walk_keys(map) == expected);
    for (const std::u16string& key : expected)
        ASSERT_NE(map.find(key), nullptr);
}

std::u16string numbered(const char* prefix, int n) {
    const std::string text = prefix + std::to_string(n);
    return std::u16string(text.begin(), text.end());
}

// Nodes live in blocks: erased ones are reused and clear() gives the blocks
// back. Keys and values that own memory (longer than the strings' inline
// room) must come out whole; AddressSanitizer watches the rest.
TEST(ChainedMap, ValuesSurviveReusedNodesAndAClear) {
    ChainedMap<std::u16string> map;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 3000; ++i) {
            if (i % 2)
                map.insert(numbered("a key of some length ", i)) = numbered("value ", i);
            else
                map.insert(std::u16string_view(numbered("a key of some length ", i))) = numbered("value ", i);
        }
        for (int i = 0; i < 3000; i += 3)
            EXPECT_TRUE(map.erase(numbered("a key of some length ", i)));
        for (int i = 0; i < 3000; i += 3)
            map.insert(numbered("a key of some length ", i)) = numbered("again ", i);
        bool created = true;
        map.insert(numbered("a key of some length ", 1), &created);
        EXPECT_FALSE(created);
        ASSERT_EQ(map.size(), 3000u);
        for (int i = 0; i < 3000; ++i) {
            const std::u16string* value = map.find(numbered("a key of some length ", i));
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(*value, numbered(i % 3 ? "value " : "again ", i));
        }
        map.clear();
        EXPECT_TRUE(map.empty());
        EXPECT_EQ(map.find(numbered("a key of some length ", 1)), nullptr);
    }
}

TEST(FileMap, KeysAreLowerCasedFileNamesAndSizesFitTheField) {
    EXPECT_EQ(file_map_key(u"/x/Readme.TXT"), u"readme.txt");
    EXPECT_EQ(file_map_key(u"/y/\u00C4rger.bin"), u"\u00E4rger.bin");
    EXPECT_EQ(entry_size_from_length(0), 0);
    EXPECT_EQ(entry_size_from_length(2147483647LL), 2147483647);
    EXPECT_EQ(entry_size_from_length(2147483648LL), FILE_ENTRY_TOO_LARGE);
    EXPECT_EQ(entry_size_from_length((1LL << 32) + 10), FILE_ENTRY_TOO_LARGE);  // not "10 bytes"
    EXPECT_EQ(entry_size_from_length(-1), FILE_ENTRY_MISSING);
    EXPECT_EQ(entry_size_from_length(-2), FILE_ENTRY_FOLDER);
}

}  // namespace
