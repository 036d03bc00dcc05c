// Route tracing upstream of a capture pin, and the node cache of the route list.
#include "crossbar/Allocation.h"
#include "crossbar/CrossbarRouter.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>

using namespace doubles;

namespace {

constexpr LONG kTuner = PhysConn_Video_Tuner, kComposite = PhysConn_Video_Composite, kSVideo = PhysConn_Video_SVideo;
constexpr LONG kDecoderOut = PhysConn_Video_VideoDecoder, kAudioLine = PhysConn_Audio_Line;

// Counts the router's allocations and can make the n-th one fail.
struct CountingAllocator {
    explicit CountingAllocator(int failAt = 0) : failAt(failAt) { current = this; }
    ~CountingAllocator() { current = nullptr; }
    static void* Allocate(size_t bytes) { return ++current->allocations == current->failAt ? nullptr : std::malloc(bytes); }
    static void Free(void* block) { current->frees += block != nullptr, std::free(block); }
    int allocations = 0, frees = 0, failAt;
    static inline CountingAllocator* current = nullptr;
    SeamOverride<void* (*)(size_t)> allocate{crossbar::Allocate, &Allocate};
    SeamOverride<void (*)(void*)> release{crossbar::Free, &Free};
};

// One traced route: each entry's crossbar, input and output index and depth, from the
// entry nearest the source down to the capture side, e.g. "a:0>0@1 b:1>0@0".
using Routes = std::vector<std::string>;

// Traces from pin, checks the links of every stored route, and lets the router go.
Routes Trace(IPin* pin, HRESULT* hr) {
    Routes all;
    CrossbarRouter router(pin, hr);
    for (ListNode* node = router.routes ? router.routes->head : nullptr; node; node = node->next) {
        std::string route;
        for (auto* e = static_cast<RoutingEntry*>(node->item); e; e = e->downstream) {
            EXPECT_TRUE(!e->downstream || e->downstream->upstream == e);
            route += (route.empty() ? "" : " ") + NameOf(e->crossbar) + ":" + std::to_string(e->inputIndex) + ">" +
                     std::to_string(e->outputIndex) + "@" + std::to_string(e->depth);
        }
        all.push_back(route);
    }
    LONG count = -1;
    EXPECT_EQ(S_OK, router.GetRouteCount(&count));
    EXPECT_EQ(LONG(all.size()), count);
    return all;
}

struct CaptureSide {
    FakeFilter filter{"capture"};
    FakePin in{"capture.in", PINDIR_INPUT};
    CaptureSide() { filter.AddPin(in); }
};

TEST(CrossbarRouter, StartPinsWithoutACrossbarUpstreamGiveNoRoutes) {
    CaptureSide capture;
    FakeFilter tuner("tuner");
    FakePin tunerOut("tuner.out", PINDIR_OUTPUT);
    tuner.AddPin(tunerOut);
    FakeCrossbar xbar("xbar", {{kComposite}}, {{kDecoderOut}});
    FakePin in2("capture.in2", PINDIR_INPUT);
    FakePin::Link(tunerOut, capture.in);
    FakePin::Link(xbar.Output(0), in2);
    xbar.Output(0).queryPinInfoResult = E_FAIL;
    struct Case {
        IPin* start;
        HRESULT expected;
    } cases[] = {{nullptr, E_POINTER}, {&capture.in, E_FAIL}, {&in2, S_OK}};  // no crossbar; QueryPinInfo fails
    for (const Case& c : cases) {
        HRESULT hr = E_UNEXPECTED;
        EXPECT_EQ(Routes{}, Trace(c.start, &hr)) << NameOf(c.start);
        EXPECT_EQ(c.expected, hr) << NameOf(c.start);
    }
    capture.in.peer = nullptr;  // unconnected
    HRESULT hr = S_OK;
    EXPECT_EQ(Routes{}, Trace(&capture.in, &hr));
    EXPECT_EQ(E_FAIL, hr);
    EXPECT_DOUBLES_BALANCED();
}

// Inputs: composite, audio line (skipped), S-video refused by CanRoute, tuner fed by a
// filter that is no crossbar (the route ends there). Output 1 feeds the capture filter.
TEST(CrossbarRouter, OneCrossbarStoresEachRoutableVideoInputWithItsDetails) {
    CaptureSide capture;
    FakeCrossbar xbar("xbar", {{kComposite, 1}, {kAudioLine, 0}, {kSVideo, 1}, {kTuner, 1}},
                      {{PhysConn_Audio_AudioDecoder, 1}, {kDecoderOut, 0}});
    FakeFilter tuner("tuner");
    FakePin tunerOut("tuner.out", PINDIR_OUTPUT);
    tuner.AddPin(tunerOut);
    FakePin::Link(tunerOut, xbar.Input(3));
    FakePin::Link(xbar.Output(1), capture.in);
    xbar.canRoute[{1, 2}] = S_FALSE;
    xbar.canRoute[{0, 0}] = E_FAIL;  // the wrong output must not be asked
    HRESULT hr = E_UNEXPECTED;
    CrossbarRouter router(&capture.in, &hr);
    ASSERT_EQ(S_OK, hr);
    LONG count = 0;
    ASSERT_EQ(S_OK, router.GetRouteCount(&count));
    ASSERT_EQ(2, count);
    EXPECT_EQ(1 + 2, xbar.refs) << "one reference per stored route";
    const LONG expectedInput[] = {0, 3}, expectedType[] = {kComposite, kTuner};
    ListNode* node = router.routes->head;
    for (int r = 0; r < 2; ++r, node = node->next) {
        const RoutingEntry& e = *static_cast<RoutingEntry*>(node->item);
        EXPECT_TRUE(!e.upstream && !e.downstream && e.crossbar == static_cast<IAMCrossbar*>(&xbar)) << r;
        EXPECT_EQ((std::vector<LONG>{expectedInput[r], 1, 1, 0, expectedType[r], kDecoderOut, 0}),
                  (std::vector<LONG>{e.inputIndex, e.outputIndex, e.inputRelatedIndex, e.outputRelatedIndex,
                                     e.inputPhysicalType, e.outputPhysicalType, e.depth})) << r;
    }
    EXPECT_EQ(S_OK, router.DestroyRoutes());
    EXPECT_EQ(S_OK, router.GetRouteCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_DOUBLES_BALANCED();
}

TEST(CrossbarRouter, CrossbarsInSeriesAreWalkedDepthFirst) {
    CaptureSide capture;
    FakeCrossbar a("a", {{kComposite}, {kAudioLine}, {kSVideo}}, {{kDecoderOut}});
    FakeCrossbar b("b", {{kTuner}, {kComposite}}, {{kDecoderOut}});
    FakePin::Link(a.Output(0), b.Input(1));
    FakePin::Link(b.Output(0), capture.in);
    HRESULT hr = E_UNEXPECTED;
    EXPECT_EQ((Routes{"b:0>0@0", "a:0>0@1 b:1>0@0", "a:2>0@1 b:1>0@0"}), Trace(&capture.in, &hr));
    EXPECT_EQ(S_OK, hr);
    // A deeper crossbar without a routable video input adds nothing.
    a.canRoute[{0, 0}] = a.canRoute[{0, 2}] = S_FALSE;
    EXPECT_EQ((Routes{"b:0>0@0"}), Trace(&capture.in, &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_DOUBLES_BALANCED();
}

// b.in0 <- a.out0 and a.in0 <- b.out1: the walk goes round until the depth bound. a sits
// at the odd depths; its open input 1 ends a route each time, the deepest first.
TEST(CrossbarRouter, CrossbarsInALoopEndAtTheDepthBound) {
    CaptureSide capture;
    FakeCrossbar a("a", {{kComposite}, {kSVideo}}, {{kDecoderOut}});
    FakeCrossbar b("b", {{kComposite}}, {{kDecoderOut}, {kDecoderOut}});
    FakePin::Link(a.Output(0), b.Input(0));
    FakePin::Link(b.Output(1), a.Input(0));
    FakePin::Link(b.Output(0), capture.in);
    HRESULT hr = E_UNEXPECTED;
    Routes routes = Trace(&capture.in, &hr);
    EXPECT_EQ(S_OK, hr);
    ASSERT_EQ(size_t(CrossbarRouter::maxDepth / 2), routes.size());
    EXPECT_EQ(0u, routes.front().find("a:1>0@31 b:0>1@30 "));
    EXPECT_EQ("a:1>0@1 b:0>0@0", routes.back());
    EXPECT_DOUBLES_BALANCED();
}

// Allocation 1 is the list; each route then takes its array and its list node.
TEST(CrossbarRouter, ARouteWhoseNodeCannotBeAllocatedIsDroppedAndFreed) {
    CaptureSide capture;
    FakeCrossbar xbar("xbar", {{kComposite}, {kSVideo}}, {{kDecoderOut}});
    FakePin::Link(xbar.Output(0), capture.in);
    CountingAllocator allocator(3);
    HRESULT hr = E_UNEXPECTED;
    EXPECT_EQ((Routes{"xbar:1>0@0"}), Trace(&capture.in, &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(allocator.allocations - 1, allocator.frees) << "every block given back";
    EXPECT_DOUBLES_BALANCED();
}

TEST(PointerList, RemovedNodesAreKeptUpToTheCacheCapacityAndReused) {
    static int items[8];
    CountingAllocator allocator;
    {
        PointerList list("RoutingList", 5);
        for (int i = 0; i < 7; ++i) ASSERT_NE(nullptr, list.AddTail(&items[i]));
        for (int i = 0; i < 7; ++i) EXPECT_EQ(&items[i], list.RemoveHead());
        EXPECT_EQ(nullptr, list.RemoveHead());
        EXPECT_EQ(5, list.cacheCount);
        EXPECT_EQ(2, allocator.frees);
        for (int i = 0; i < 5; ++i) list.AddTail(&items[i]);
        EXPECT_EQ(7, allocator.allocations) << "five additions reuse the spare nodes";
        list.AddTail(&items[5]);
        EXPECT_EQ(8, allocator.allocations) << "the sixth allocates";
        EXPECT_EQ(6, list.count);
    }
    EXPECT_EQ(allocator.allocations, allocator.frees);
}

}  // namespace
