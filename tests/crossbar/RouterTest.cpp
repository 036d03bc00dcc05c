#include "CrossbarFixture.h"

using namespace doubles;

namespace {

IAMCrossbar* Itf(FakeCrossbar& x) { return static_cast<IAMCrossbar*>(&x); }

LONG RouteCount(CrossbarRouter& router) {
    LONG n = -1;
    EXPECT_EQ(S_OK, router.GetRouteCount(&n));
    return n;
}

struct CaptureSide {
    FakeFilter filter{"capture"};
    FakePin in{"capture.in", PINDIR_INPUT};
    CaptureSide() { filter.AddPin(in); }
};

TEST(CrossbarRouter, StartPinWithoutCrossbarUpstream) {
    CaptureSide capture;
    FakeFilter tuner("tuner");
    FakePin tunerOut("tuner.out", PINDIR_OUTPUT);
    tuner.AddPin(tunerOut);

    struct Case {
        const char* what;
        IPin* start;
        bool connect;
        HRESULT expected;
    } cases[] = {
        {"null start pin", nullptr, false, E_POINTER},
        {"unconnected", &capture.in, false, E_FAIL},
        {"peer is no crossbar", &capture.in, true, E_FAIL},
    };
    for (const auto& c : cases) {
        capture.in.peer = tunerOut.peer = nullptr;
        if (c.connect) FakePin::Link(tunerOut, capture.in);
        HRESULT hr = S_OK;
        {
            CrossbarRouter router(c.start, &hr);
            EXPECT_EQ(0, RouteCount(router)) << c.what;
        }
        EXPECT_EQ(c.expected, hr) << c.what;
        EXPECT_DOUBLES_BALANCED();
    }
}

TEST(CrossbarRouter, PeerPinInfoFailingGivesNoRoutesButSuccess) {
    CaptureSide capture;
    FakeCrossbar xbar("xbar", {{kComposite}}, {{kDecoderOut}});
    FakePin::Link(xbar.Output(0), capture.in);
    xbar.Output(0).queryPinInfoResult = E_FAIL;
    HRESULT hr = E_UNEXPECTED;
    {
        CrossbarRouter router(&capture.in, &hr);
        EXPECT_EQ(0, RouteCount(router));
    }
    EXPECT_EQ(S_OK, hr);
    EXPECT_DOUBLES_BALANCED();
}

// Inputs: composite, audio line (skipped), S-video refused by CanRoute, tuner fed by a
// filter that is no crossbar (ends there like an unconnected input). Output 1 feeds the
// capture filter, so every route must carry output index 1.
TEST(CrossbarRouter, OneCrossbarStoresEachRoutableVideoInput) {
    CaptureSide capture;
    FakeCrossbar xbar("xbar", {{kComposite, 1}, {kAudioLine, 0}, {kSVideo, 1}, {kTuner, 1}},
                      {{kAudioDecoderOut, 1}, {kDecoderOut, 0}});
    FakeFilter tuner("tuner");
    FakePin tunerOut("tuner.out", PINDIR_OUTPUT);
    tuner.AddPin(tunerOut);
    FakePin::Link(tunerOut, xbar.Input(3));
    FakePin::Link(xbar.Output(1), capture.in);
    xbar.canRoute[{1, 2}] = S_FALSE;
    xbar.canRoute[{0, 0}] = E_FAIL;  // the wrong output must not be asked

    HRESULT hr = E_UNEXPECTED;
    {
        CrossbarRouter router(&capture.in, &hr);
        ASSERT_EQ(S_OK, hr);
        ASSERT_EQ(2, RouteCount(router));
        auto routes = StoredRoutes(router);
        const LONG expectedInput[] = {0, 3};
        const LONG expectedType[] = {kComposite, kTuner};
        for (int r = 0; r < 2; ++r) {
            ASSERT_EQ(1u, routes[r].size());
            const RoutingEntry& e = routes[r][0];
            EXPECT_EQ(nullptr, e.upstream);
            EXPECT_EQ(nullptr, e.downstream);
            EXPECT_EQ(Itf(xbar), e.crossbar);
            EXPECT_EQ(expectedInput[r], e.inputIndex);
            EXPECT_EQ(1, e.outputIndex);
            EXPECT_EQ(1, e.inputRelatedIndex);
            EXPECT_EQ(0, e.outputRelatedIndex);
            EXPECT_EQ(expectedType[r], e.inputPhysicalType);
            EXPECT_EQ(kDecoderOut, e.outputPhysicalType);
            EXPECT_EQ(0, e.depth);
        }
        EXPECT_EQ(1 + 2, xbar.refs) << "one reference per stored route";

        EXPECT_EQ(S_OK, router.DestroyRoutes());
        EXPECT_EQ(0, RouteCount(router));
        EXPECT_DOUBLES_BALANCED();
        EXPECT_EQ(S_OK, router.DestroyRoutes());
        EXPECT_EQ(E_POINTER, router.GetRouteCount(nullptr));
    }
    EXPECT_DOUBLES_BALANCED();
}

// A feeds B's input 1, B feeds the capture filter.
TEST(CrossbarRouter, TwoCrossbarsInSeries) {
    CaptureSide capture;
    FakeCrossbar a("a", {{kComposite}, {kAudioLine}, {kSVideo}}, {{kDecoderOut}});
    FakeCrossbar b("b", {{kTuner}, {kComposite}}, {{kDecoderOut}});
    FakePin::Link(a.Output(0), b.Input(1));
    FakePin::Link(b.Output(0), capture.in);
    HRESULT hr = E_UNEXPECTED;
    {
        CrossbarRouter router(&capture.in, &hr);
        ASSERT_EQ(S_OK, hr);
        auto routes = StoredRoutes(router);
        ASSERT_EQ(3u, routes.size());
        // Depth first, inputs ascending: b.in0 alone, then a.in0 and a.in2 through b.in1.
        ASSERT_EQ(1u, routes[0].size());
        EXPECT_EQ(Itf(b), routes[0][0].crossbar);
        EXPECT_EQ(0, routes[0][0].inputIndex);
        const LONG aInput[] = {0, 2};
        for (int r = 1; r < 3; ++r) {
            ASSERT_EQ(2u, routes[r].size());
            RoutingEntry* first = StoredRoute(router, r);
            EXPECT_EQ(nullptr, first->upstream);
            EXPECT_EQ(first, first->downstream->upstream);
            EXPECT_EQ(nullptr, first->downstream->downstream);
            EXPECT_EQ(Itf(a), routes[r][0].crossbar);
            EXPECT_EQ(1, routes[r][0].depth);
            EXPECT_EQ(aInput[r - 1], routes[r][0].inputIndex);
            EXPECT_EQ(Itf(b), routes[r][1].crossbar);
            EXPECT_EQ(0, routes[r][1].depth);
            EXPECT_EQ(1, routes[r][1].inputIndex);
        }
        EXPECT_EQ(1 + 2, a.refs);
        EXPECT_EQ(1 + 3, b.refs);
    }
    EXPECT_DOUBLES_BALANCED();
}

TEST(CrossbarRouter, DeeperCrossbarWithoutRoutableVideoInputYieldsNothing) {
    CaptureSide capture;
    FakeCrossbar a("a", {{kAudioLine}, {kComposite}}, {{kDecoderOut}});
    FakeCrossbar b("b", {{kTuner}, {kComposite}}, {{kDecoderOut}});
    a.canRoute[{0, 1}] = S_FALSE;
    FakePin::Link(a.Output(0), b.Input(1));
    FakePin::Link(b.Output(0), capture.in);
    HRESULT hr = E_UNEXPECTED;
    {
        CrossbarRouter router(&capture.in, &hr);
        auto routes = StoredRoutes(router);
        ASSERT_EQ(1u, routes.size());
        EXPECT_EQ(0, routes[0][0].inputIndex);
        EXPECT_EQ(Itf(b), routes[0][0].crossbar);
    }
    EXPECT_EQ(S_OK, hr);
    EXPECT_DOUBLES_BALANCED();
}

// A crossbar that cannot describe itself is taken as one without routable inputs.
TEST(CrossbarRouter, CrossbarFailingToDescribeItselfHasNoRoutes) {
    struct Case {
        const char* what;
        HRESULT pinCounts, pinInfo;
    } cases[] = {{"pin counts", E_FAIL, S_OK}, {"pin info", S_OK, E_FAIL}};
    for (const auto& c : cases) {
        CaptureSide capture;
        FakeCrossbar xbar("xbar", {{kComposite}}, {{kDecoderOut}});
        xbar.pinCountsResult = c.pinCounts;
        xbar.pinInfoResult = c.pinInfo;
        FakePin::Link(xbar.Output(0), capture.in);
        HRESULT hr = E_UNEXPECTED;
        {
            CrossbarRouter router(&capture.in, &hr);
            EXPECT_EQ(0, RouteCount(router)) << c.what;
        }
        EXPECT_EQ(S_OK, hr) << c.what;
        EXPECT_DOUBLES_BALANCED();
    }
}

// a and b feed each other: b.in0 <- a.out0, a.in0 <- b.out1; b.out0 feeds the capture
// filter and a.in1 is open. The walk goes round until the depth bound and ends.
TEST(CrossbarRouter, CrossbarsInALoopEndAtTheDepthBound) {
    CaptureSide capture;
    FakeCrossbar a("a", {{kComposite}, {kSVideo}}, {{kDecoderOut}});
    FakeCrossbar b("b", {{kComposite}}, {{kDecoderOut}, {kDecoderOut}});
    FakePin::Link(a.Output(0), b.Input(0));
    FakePin::Link(b.Output(1), a.Input(0));
    FakePin::Link(b.Output(0), capture.in);
    HRESULT hr = E_UNEXPECTED;
    {
        CrossbarRouter router(&capture.in, &hr);
        auto routes = StoredRoutes(router);
        // a sits at the odd levels 1, 3, ..., 31; each time its open input ends a route,
        // the deepest one first.
        ASSERT_EQ(size_t(CrossbarRouter::maxDepth / 2), routes.size());
        EXPECT_EQ(size_t(CrossbarRouter::maxDepth), routes.front().size());
        EXPECT_EQ(2u, routes.back().size());
    }
    EXPECT_EQ(S_OK, hr);
    EXPECT_DOUBLES_BALANCED();
}

// Allocation 1 is the list; each route then takes its array and its list node.
TEST(CrossbarRouter, FailedAllocationsDropOnlyTheirRoute) {
    struct Case {
        const char* what;
        int failAt;
        HRESULT result;
        LONG routes;
    } cases[] = {
        {"list", 1, E_OUTOFMEMORY, -1},
        {"first route array", 2, S_OK, 1},
        {"first route node", 3, S_OK, 1},
    };
    for (const auto& c : cases) {
        CaptureSide capture;
        FakeCrossbar xbar("xbar", {{kComposite}, {kSVideo}}, {{kDecoderOut}});
        FakePin::Link(xbar.Output(0), capture.in);
        CountingAllocator allocator(c.failAt);
        HRESULT hr = E_UNEXPECTED;
        {
            CrossbarRouter router(&capture.in, &hr);
            LONG n = -1;
            router.GetRouteCount(&n);
            EXPECT_EQ(c.routes, n) << c.what;
            if (c.routes == 1) {
                EXPECT_EQ(1, StoredRoutes(router)[0][0].inputIndex) << c.what;
                EXPECT_EQ(2, xbar.refs) << c.what;
            }
        }
        EXPECT_EQ(c.result, hr) << c.what;
        EXPECT_EQ(allocator.allocations - 1, allocator.frees) << c.what << ": every block given back";
        EXPECT_DOUBLES_BALANCED();
    }
}

}  // namespace
