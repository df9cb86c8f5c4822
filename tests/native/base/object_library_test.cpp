#include "base/object_library.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A library like the real ones: its free routine is its free operation.
struct Widget {
    std::uintptr_t live;  // the platform handle, say
    int value;
};

ObjectLibrary<Widget>* g_widgets = nullptr;
std::vector<int> g_destroyed;

void free_widget(ObjectId id) {
    if (Widget* w = g_widgets->free_all_or_find(id)) {
        g_destroyed.push_back(w->value);
        g_widgets->release(id);
    }
}

// Creates like the real ones: the platform handle for a number, the id for PB_Any.
std::intptr_t make_widget(ObjectId id, int value) {
    const auto made = g_widgets->create(id);
    if (!made)
        return 0;
    made.record->live = 0x1000u + static_cast<std::uintptr_t>(value);
    made.record->value = value;
    return made.result(static_cast<std::intptr_t>(made.record->live));
}

class ObjectLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_destroyed.clear();
        g_widgets = &widgets;
    }
    void TearDown() override { g_widgets = nullptr; }
    ObjectLibrary<Widget> widgets{4, free_widget};
};

TEST_F(ObjectLibraryTest, CreateResultsAreTheHandleForNumbersAndTheIdForPbAny) {
    EXPECT_EQ(make_widget(2, 7), 0x1007);
    EXPECT_EQ(widgets.find(2)->value, 7);
    const std::intptr_t any = make_widget(PB_Any, 8);
    ASSERT_NE(any, 0);
    EXPECT_EQ(widgets.find(any)->value, 8);
    EXPECT_EQ(widgets.find_unchecked(any)->value, 8);

    // A number in use loses its old object; other negative ids make nothing.
    EXPECT_EQ(make_widget(2, 9), 0x1009);
    EXPECT_EQ(g_destroyed, std::vector<int>{7});
    EXPECT_EQ(make_widget(-2, 1), 0);
    EXPECT_EQ(widgets.find(-2), nullptr);
}

TEST_F(ObjectLibraryTest, FreedAndForeignIdsAreNeverRead) {
    const std::intptr_t first = make_widget(PB_Any, 1);
    const std::intptr_t second = make_widget(PB_Any, 2);
    free_widget(first);
    EXPECT_EQ(widgets.find(first), nullptr);
    free_widget(first);  // again: nothing
    EXPECT_EQ(g_destroyed, std::vector<int>{1});
    Widget stranger{1, 3};
    EXPECT_EQ(widgets.find(reinterpret_cast<ObjectId>(&stranger)), nullptr);
    EXPECT_EQ(widgets.find(0), nullptr);
    EXPECT_EQ(widgets.find(PB_Any), nullptr);
    EXPECT_EQ(widgets.find(second)->value, 2);
}

TEST_F(ObjectLibraryTest, FreeingPbAnyFreesEverythingThroughTheFreeRoutine) {
    make_widget(1, 1);
    make_widget(PB_Any, 2);
    make_widget(9, 3);
    free_widget(PB_Any);
    EXPECT_EQ(g_destroyed, (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(widgets.find(1), nullptr);
    EXPECT_EQ(widgets.find(9), nullptr);
    free_widget(PB_Any);  // nothing left
    EXPECT_EQ(g_destroyed.size(), 3u);
}

}  // namespace
