#include "base/object_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A library's record: liveness word first.
struct Thing {
    std::uintptr_t live;
    int value;
};

ObjectRegistry* g_registry = nullptr;
std::vector<std::intptr_t> g_freed;

// Frees like a real library: remembers the id and releases the entry.
void free_thing(std::intptr_t id) {
    g_freed.push_back(id);
    if (void* r = registry_get(*g_registry, id)) registry_record<Thing>(r)->value = -1;
    registry_release(*g_registry, id);
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_freed.clear();
        registry = registry_create(sizeof(Thing), 50, free_thing);
        g_registry = registry.get();
    }
    void TearDown() override { g_registry = nullptr; }

    Thing* make(std::intptr_t id, int value) {
        auto* t = registry_record<Thing>(registry_allocate(*registry, id));
        t->live = 1;
        t->value = value;
        return t;
    }
    static std::intptr_t id_of(Thing* t) { return reinterpret_cast<std::intptr_t>(t); }

    std::unique_ptr<ObjectRegistry> registry;
};

TEST_F(RegistryTest, GrowsOnlyPastCapacityByRequestPlusIncrement) {
    EXPECT_EQ(registry->capacity(), 50);
    make(49, 1);
    EXPECT_EQ(registry->capacity(), 50);
    make(50, 2);
    EXPECT_EQ(registry->capacity(), 100);
    make(120, 3);
    EXPECT_EQ(registry->capacity(), 170);
    // Growth keeps earlier records where they were.
    EXPECT_EQ(registry_record<Thing>(registry_get(*registry, 49))->value, 1);
    EXPECT_EQ(registry_record<Thing>(registry_get(*registry, 50))->value, 2);
}

TEST_F(RegistryTest, NewRecordsAreZeroAndNotLiveUntilTheLibrarySaysSo) {
    void* r = registry_allocate(*registry, 7);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(registry_record<Thing>(r)->live, 0u);
    EXPECT_EQ(registry_record<Thing>(r)->value, 0);
    EXPECT_EQ(registry_get(*registry, 7), nullptr);
    registry_record<Thing>(r)->live = 5;
    EXPECT_EQ(registry_get(*registry, 7), r);
}

TEST_F(RegistryTest, ReusingANumberFreesTheOldObjectFirstAndKeepsTheRecord) {
    Thing* first = make(3, 10);
    void* again = registry_allocate(*registry, 3);
    ASSERT_EQ(g_freed, std::vector<std::intptr_t>{3});
    EXPECT_EQ(again, first);
    EXPECT_EQ(first->live, 0u);  // released by the free routine before being handed back
    // A record that was allocated but never made live still goes through the free routine.
    (void)registry_allocate(*registry, 3);
    EXPECT_EQ(g_freed.size(), 2u);
}

TEST_F(RegistryTest, ReleasedNumberIsGoneForLookupsAndEnumeration) {
    make(1, 1);
    make(2, 2);
    registry_release(*registry, 1);
    EXPECT_EQ(registry_get(*registry, 1), nullptr);
    EXPECT_EQ(registry_find(*registry, 1), nullptr);
    registry_examine_start(*registry);
    std::intptr_t id = 0;
    ASSERT_NE(registry_examine_next(*registry, id), nullptr);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(registry_examine_next(*registry, id), nullptr);
    registry_release(*registry, 99);  // never allocated: nothing happens
}

TEST_F(RegistryTest, HandlesAreRecordAddressesAndFindValidatesThem) {
    Thing* h = make(PB_Any, 4);
    const std::intptr_t id = id_of(h);
    EXPECT_GE(id, registry->capacity());
    EXPECT_EQ(registry_get(*registry, id), h);
    EXPECT_EQ(registry_find(*registry, id), h);

    Thing stranger{1, 0};
    EXPECT_EQ(registry_find(*registry, id_of(&stranger)), nullptr);  // never handed out
    EXPECT_EQ(registry_get(*registry, id_of(&stranger)), &stranger);  // the fast path trusts its caller

    h->live = 0;
    EXPECT_EQ(registry_get(*registry, id), nullptr);
    EXPECT_EQ(registry_find(*registry, id), h);  // find does not look at liveness of handles

    registry_release(*registry, id);
    EXPECT_EQ(registry_find(*registry, id), nullptr);
}

TEST_F(RegistryTest, EnumerationGivesNumbersAscendingThenHandlesOldestFirst) {
    Thing* h1 = make(PB_Any, 100);
    make(30, 30);
    Thing* h2 = make(PB_Any, 200);
    make(2, 2);
    make(60, 60);
    Thing* h3 = make(PB_Any, 300);

    std::vector<std::intptr_t> ids;
    registry_examine_start(*registry);
    std::intptr_t id = 0;
    while (registry_examine_next(*registry, id)) ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<std::intptr_t>{2, 30, 60, id_of(h1), id_of(h2), id_of(h3)}));
}

TEST_F(RegistryTest, FreeAllFreesNumbersAscendingThenHandlesNewestFirst) {
    Thing* h1 = make(PB_Any, 1);
    make(9, 9);
    Thing* h2 = make(PB_Any, 2);
    make(0, 0);
    make(4, 4);
    (void)registry_allocate(*registry, 6);  // allocated, never live: not freed
    registry_free_all(*registry);
    EXPECT_EQ(g_freed, (std::vector<std::intptr_t>{0, 4, 9, id_of(h2), id_of(h1)}));
    EXPECT_EQ(registry->handle_list, nullptr);
    std::intptr_t id = 0;
    registry_examine_start(*registry);
    EXPECT_EQ(registry_examine_next(*registry, id), nullptr);
}

TEST(RegistryWithoutFreeRoutine, IgnoresFreeAllAndReuse) {
    auto registry = registry_create(8, 4, nullptr);
    auto* r = static_cast<std::uintptr_t*>(registry_allocate(*registry, 1));
    *r = 1;
    registry_free_all(*registry);
    EXPECT_EQ(registry_get(*registry, 1), r);
    EXPECT_EQ(registry_allocate(*registry, 1), r);
}

TEST(RegistryWithTinyRecords, StillHoldsALivenessWord) {
    auto registry = registry_create(1, 4, nullptr);  // smaller than a pointer
    auto* r = static_cast<std::uintptr_t*>(registry_allocate(*registry, PB_Any));
    *r = ~std::uintptr_t{0};
    EXPECT_EQ(registry_get(*registry, reinterpret_cast<std::intptr_t>(r)), r);
    registry_release(*registry, reinterpret_cast<std::intptr_t>(r));
}

TEST(LibraryState, IsZeroFilledInitialisedOnceAndReturnedAsIs) {
    static int inits = 0;
    auto block = library_state_create(64, [](void* b) { ++inits; static_cast<int*>(b)[1] = 7; }, nullptr);
    ASSERT_NE(block.get(), nullptr);
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(library_state(block), block.get());
    EXPECT_EQ(static_cast<int*>(block.get())[0], 0);
    EXPECT_EQ(static_cast<int*>(block.get())[1], 7);
}

}  // namespace
