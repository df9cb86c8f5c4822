// The handle owner over a counting stand-in for a platform handle: every
// handle it takes is closed exactly once, whichever way ownership moves.
#include "system/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<int> g_closed;

struct CountedTraits {
    using Handle = int;
    static Handle invalid() noexcept { return -1; }
    static void close(Handle h) noexcept { g_closed.push_back(h); }
};
using Owned = UniqueHandle<CountedTraits>;

TEST(UniqueHandle, ClosesOnceWhateverWayOwnershipMoves) {
    g_closed.clear();
    {
        Owned a(1);
        Owned b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_TRUE(b);
        Owned c(2);
        c = std::move(b);  // closes 2, takes 1
        EXPECT_EQ(g_closed, std::vector<int>{2});
        c = std::move(c);  // no effect
        Owned d(3);
        d.reset(4);  // closes 3
        Owned none;
        none.reset();  // nothing to close
        EXPECT_EQ(none.get(), -1);
    }
    // Destroyed in reverse order: d (4), c (1).
    EXPECT_EQ(g_closed, (std::vector<int>{2, 3, 4, 1}));
}

TEST(UniqueHandle, ReleaseHandsOverAndPutRefills) {
    g_closed.clear();
    {
        Owned a(5);
        EXPECT_EQ(a.release(), 5);
        EXPECT_FALSE(a);
        Owned b(6);
        *b.put() = 7;  // the out-parameter form closes 6 first
        EXPECT_EQ(b.get(), 7);
    }
    EXPECT_EQ(g_closed, (std::vector<int>{6, 7}));
}

}  // namespace
