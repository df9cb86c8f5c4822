// The portable parts of the gadget core: brush sharing, gadget-list nesting and
// hand-over, and the required-size rules.
#include <gtest/gtest.h>

#include <vector>

#include "gadget/brush_cache.h"
#include "gadget/gadget_list_stack.h"
#include "gadget/gadget_size_rules.h"

namespace {

std::vector<std::uintptr_t> g_deleted;
std::uintptr_t g_next_brush = 100;
std::uintptr_t fake_create(std::int32_t colour) {
    return colour == 0x666666 ? 0 : g_next_brush++;
}
void fake_delete(std::uintptr_t brush) {
    g_deleted.push_back(brush);
}

TEST(BrushCache, SharesOneBrushPerColourAndDeletesItWithTheLastReference) {
    g_deleted.clear();
    BrushCache cache(fake_create, fake_delete);
    const std::uintptr_t red = cache.acquire(0x0000FF);
    EXPECT_EQ(cache.acquire(0x0000FF), red);
    const std::uintptr_t blue = cache.acquire(0xFF0000);
    EXPECT_NE(blue, red);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.references(0x0000FF), 2);

    cache.release(red);
    EXPECT_TRUE(g_deleted.empty());
    cache.release(red);
    EXPECT_EQ(g_deleted, std::vector<std::uintptr_t>{red});
    EXPECT_EQ(cache.size(), 1u);
    // Unknown and null brushes change nothing; a colour comes back with a new brush.
    cache.release(12345);
    cache.release(0);
    EXPECT_EQ(cache.references(0xFF0000), 1);
    EXPECT_NE(cache.acquire(0x0000FF), red);
}

TEST(BrushCache, ABrushThatCannotBeMadeIsNotKept) {
    BrushCache cache(fake_create, fake_delete);
    EXPECT_EQ(cache.acquire(0x666666), 0u);
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.references(0x666666), 0);
}

void* win(int n) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(n));
}

TEST(GadgetListStack, PushAndPopNestAndGrowPastTheFirstCapacity) {
    GadgetListState s;
    s.stack = make_gadget_stack();
    s.current = win(1);
    EXPECT_FALSE(gadget_list_pop(s));
    EXPECT_EQ(s.current, win(1));
    for (int i = 2; i <= 25; ++i)
        ASSERT_TRUE(gadget_list_push(s, win(i)));
    EXPECT_EQ(s.stack.depth, 24);
    EXPECT_EQ(s.stack.capacity, 30);
    EXPECT_EQ(gadget_list_owner(s), win(1));
    for (int i = 24; i >= 1; --i) {
        ASSERT_TRUE(gadget_list_pop(s));
        EXPECT_EQ(s.current, win(i));
    }
    EXPECT_EQ(gadget_list_owner(s), win(1));
}

TEST(GadgetListStack, WindowsHandTheStateOverWithTheirDepth) {
    GadgetListState s;
    SavedGadgetList a, b;
    gadget_list_start(s, win(1));
    gadget_list_push(s, win(11));
    gadget_list_push(s, win(12));

    gadget_list_save(s, a);
    EXPECT_EQ(s.stack.entries, nullptr);
    gadget_list_start(s, win(2));
    EXPECT_EQ(s.stack.depth, 0);
    EXPECT_EQ(s.stack.capacity, kGadgetStackStep);
    EXPECT_EQ(gadget_list_owner(s), win(2));

    gadget_list_save(s, b);
    gadget_list_restore(s, a);
    EXPECT_EQ(a.stack.entries, nullptr);
    EXPECT_EQ(s.current, win(12));
    EXPECT_EQ(s.stack.depth, 2);
    EXPECT_EQ(gadget_list_owner(s), win(1));
    gadget_list_pop(s);
    EXPECT_EQ(s.current, win(11));

    gadget_list_save(s, a);
    gadget_list_restore(s, b);
    EXPECT_EQ(s.current, win(2));
    EXPECT_EQ(s.stack.depth, 0);
}

TEST(GadgetSizeRules, LabelsLinksAndButtons) {
    EXPECT_EQ(text_required_size({40, 13}, true, {2, 2}), (GadgetSize{44, 17}));
    EXPECT_EQ(text_required_size({40, 13}, false, {3, 3}), (GadgetSize{42, 15}));
    EXPECT_EQ(hyperlink_required_size({40, 26}), (GadgetSize{44, 30}));
    EXPECT_EQ(button_required_size({30, 13}, {2, 2}), (GadgetSize{44, 24}));
    EXPECT_EQ(button_required_size({30, 21}, {2, 2}), (GadgetSize{44, 25}));
}

}  // namespace
