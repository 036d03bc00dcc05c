#include "CrossbarFixture.h"

namespace {

int items[8];

TEST(PointerList, RemovedNodesAreKeptUpToTheCacheCapacityAndReused) {
    CountingAllocator allocator;
    {
        PointerList list("RoutingList", 5);
        for (int i = 0; i < 7; ++i) ASSERT_NE(nullptr, list.AddTail(&items[i]));
        EXPECT_EQ(7, allocator.allocations);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(&items[i], list.RemoveHead());
        EXPECT_EQ(nullptr, list.RemoveHead());
        EXPECT_EQ(0, list.count);
        EXPECT_EQ(5, list.cacheCount);
        EXPECT_EQ(2, allocator.frees);

        for (int i = 0; i < 5; ++i) list.AddTail(&items[i]);
        EXPECT_EQ(7, allocator.allocations) << "five additions reuse the spare nodes";
        EXPECT_EQ(0, list.cacheCount);
        list.AddTail(&items[5]);
        EXPECT_EQ(8, allocator.allocations) << "the sixth allocates";
        EXPECT_EQ(6, list.count);
    }
    EXPECT_EQ(allocator.allocations, allocator.frees);
}

TEST(PointerList, FailedAllocationAddsNothingAndRemoveAllBypassesTheCache) {
    CountingAllocator allocator(2);
    {
        PointerList list("RoutingList", 5);
        list.AddTail(&items[0]);
        EXPECT_EQ(nullptr, list.AddTail(&items[1]));
        EXPECT_EQ(1, list.count);
        EXPECT_EQ(list.head, list.tail);
        list.AddTail(&items[2]);
        list.RemoveAll();
        EXPECT_EQ(0, list.count);
        EXPECT_EQ(nullptr, list.head);
        EXPECT_EQ(nullptr, list.tail);
        EXPECT_EQ(0, list.cacheCount);
        EXPECT_EQ(2, allocator.frees);
    }
    EXPECT_EQ(allocator.allocations - 1, allocator.frees);
}

}  // namespace
