// TextBuilder: growth by 1.28, sizing up front, and running out of memory.
#include "app/text_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::size_t g_allocations = 0;
std::size_t g_fail_above = SIZE_MAX;  // bytes

void* counting_realloc(void* block, std::size_t bytes) {
    ++g_allocations;
    return bytes > g_fail_above ? nullptr : std::realloc(block, bytes);
}

struct HeapHook : ::testing::Test {
    void SetUp() override {
        g_allocations = 0;
        g_fail_above = SIZE_MAX;
        set_text_builder_realloc(counting_realloc);
    }
    void TearDown() override { set_text_builder_realloc(nullptr); }
};

std::u16string pattern(std::size_t n) {
    std::u16string s(n, u'\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char16_t>(u'A' + i % 26);
    return s;
}

TEST_F(HeapHook, StartsWithRoomForTenThousandUnitsAndGrowsByAFactor) {
    TextBuilder b;
    b.append(u"x");
    EXPECT_EQ(b.capacity(), TextBuilder::kInitialCapacity);
    const std::u16string big = pattern(10240);
    b.append(big);                    // 10241 units needed
    EXPECT_EQ(b.capacity(), 13108u);  // 10241 * 1.28, rounded
    EXPECT_EQ(g_allocations, 2u);
    EXPECT_EQ(b.view(), u"x" + big);

    // Many small appends stay amortised: a handful of reallocations, not one each.
    for (int i = 0; i < 100000; ++i)
        b.append(u"abc");
    EXPECT_LT(g_allocations, 20u);
    EXPECT_EQ(b.size(), 10241u + 300000u);
    EXPECT_EQ(b.view().substr(b.size() - 6), u"abcabc");
}

TEST_F(HeapHook, AReservedBuilderNeverReallocates) {
    TextBuilder b;
    ASSERT_TRUE(b.reserve(50000));
    const std::size_t before = g_allocations;
    for (int i = 0; i < 10000; ++i)
        b.append(u"12345");
    EXPECT_EQ(g_allocations, before);
    EXPECT_EQ(b.size(), 50000u);
    char16_t* tail = b.prepare(3);
    ASSERT_NE(tail, nullptr);
    tail[0] = u'a', tail[1] = u'b';
    b.commit(2);
    EXPECT_EQ(b.view().substr(b.size() - 3), u"5ab");
    b.truncate(b.size() - 2);
    b.shrink_to_fit();
    EXPECT_EQ(b.capacity(), b.size());
}

TEST_F(HeapHook, RunningOutOfMemoryDropsTheTextInsteadOfCuttingIt) {
    TextBuilder b;
    b.append(pattern(1000));
    g_fail_above = 30000;  // bytes: the first growth past 10240 units fails
    b.append(pattern(20000));
    EXPECT_TRUE(b.failed());
    EXPECT_TRUE(b.empty());
    b.append(u"ignored");
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(b.prepare(1), nullptr);
    EXPECT_FALSE(b.reserve(1));

    g_fail_above = SIZE_MAX;
    b.clear();
    EXPECT_FALSE(b.failed());
    b.append(u"again");
    EXPECT_EQ(b.view(), u"again");
    EXPECT_FALSE(TextBuilder().reserve(SIZE_MAX / 2));  // beyond any heap: fails, does not wrap
}

// Room sized for the worst case (19 units per 8 bytes) may be far more than
// the text needs: when memory cannot give it, the text still grows as it comes,
// and near the limit without the growth margin.
TEST_F(HeapHook, RoomMemoryCannotGiveIsOnlyAHint) {
    TextBuilder b;
    b.append(u"kept");
    g_fail_above = 100000;  // bytes
    EXPECT_FALSE(b.reserve(1000000));
    EXPECT_FALSE(b.failed());
    EXPECT_EQ(b.view(), u"kept");
    b.append(pattern(40000));  // 80008 bytes fit; with the 1.28 margin they would not
    EXPECT_FALSE(b.failed());
    EXPECT_EQ(b.size(), 40004u);
    EXPECT_EQ(b.view().substr(0, 5), u"keptA");
}

TEST(TextBuilderOperations, FollowTheDocumentedNullAndLengthRules) {
    std::unique_ptr<TextBuilder> b = text_builder_new();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->capacity(), TextBuilder::kInitialCapacity);
    text_builder_append(b.get(), u"hello\0world", 0);  // up to the terminator
    text_builder_append(b.get(), u"-xyz", 2);
    text_builder_append(b.get(), u"!", -5);
    text_builder_append(b.get(), nullptr, 3);
    text_builder_append(nullptr, u"lost", 4);
    EXPECT_EQ(text_builder_text(b.get()), u"hello-x!");
    EXPECT_EQ(text_builder_text(nullptr), u"");
    text_builder_free(std::move(b));
    text_builder_free(nullptr);

    TextBuilder moved;
    moved.append(u"kept");
    TextBuilder target = std::move(moved);
    EXPECT_EQ(target.view(), u"kept");
    EXPECT_TRUE(moved.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
}

}  // namespace
