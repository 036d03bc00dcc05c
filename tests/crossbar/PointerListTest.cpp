#include "CrossbarFixture.h"

namespace {

int items[8];

std::vector<void*> Items(const PointerList& list) {
    std::vector<void*> out;
    for (ListNode* n = list.head; n; n = n->next) out.push_back(n->item);
    return out;
}

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

TEST(PointerList, RemoveRelinksNeighboursAtEveryPosition) {
    PointerList list("RoutingList", 5);
    ListNode* nodes[4];
    for (int i = 0; i < 4; ++i) nodes[i] = list.AddTail(&items[i]);
    EXPECT_EQ(&items[2], list.Remove(nodes[2]));  // middle
    EXPECT_EQ((std::vector<void*>{&items[0], &items[1], &items[3]}), Items(list));
    EXPECT_EQ(&items[3], list.Remove(nodes[3]));  // tail
    EXPECT_EQ(nodes[1], list.tail);
    EXPECT_EQ(nullptr, list.tail->next);
    EXPECT_EQ(&items[0], list.Remove(nodes[0]));  // head
    EXPECT_EQ(nodes[1], list.head);
    EXPECT_EQ(nullptr, list.head->prev);
    EXPECT_EQ(nullptr, list.Remove(nullptr));
    EXPECT_EQ(1, list.count);
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
