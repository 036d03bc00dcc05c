// The routes through the crossbars upstream of a capture filter's analog video input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>

#include "crossbar/Allocation.h"
#include "crossbar/CrossbarRouter.h"
#include "doubles/Doubles.h"

using namespace doubles;

namespace {

// Each route from the crossbar farthest upstream down, e.g. "b 1>0, a 0>0".
std::vector<std::string> Routes(const CrossbarRouter& router) {
    std::vector<std::string> routes;
    for (ListNode* node = router.routes->head; node; node = node->next) {
        std::string route;
        for (auto* e = static_cast<RoutingEntry*>(node->item); e; e = e->downstream)
            route += (route.empty() ? "" : ", ") + NameOf(e->crossbar) + " " + std::to_string(e->inputIndex) + ">" +
                     std::to_string(e->outputIndex);
        routes.push_back(route);
    }
    return routes;
}

// The analog input is fed by crossbar a; a's composite input by crossbar b.
struct Chain {
    FakePin analog{"cam.analog", PINDIR_INPUT};
    FakeCrossbar a{"a", {PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Audio_Line}};
    FakeCrossbar b{"b", {PhysConn_Video_Tuner, PhysConn_Video_Composite}};
    Chain() {
        analog.peer = &a.Output(), a.Output().peer = &analog;
        a.Input(0).peer = &b.Output(), b.Output().peer = &a.Input(0);
    }
};

// Traces from the start pin. While the router lives each crossbar is held once for every
// route it is on; afterwards nothing is held. With visits, the crossbars the walk entered.
std::vector<std::string> Trace(FakePin& start, std::vector<FakeCrossbar*> crossbars, LONG* visits = nullptr) {
    std::vector<std::string> routes;
    {
        HRESULT hr = S_OK;
        CrossbarRouter router(&start, &hr);
        LONG count = 0, entries = 0, held = 0;
        if (router.routes) routes = Routes(router), router.GetRouteCount(&count);
        for (const std::string& route : routes) entries += 1 + std::count(route.begin(), route.end(), ',');
        for (FakeCrossbar* c : crossbars) held += c->refs - 1;
        EXPECT_TRUE(held == entries && count == LONG(routes.size()));
        if (visits) *visits = router.crossbarVisits;
    }
    EXPECT_BALANCED();
    return routes;
}
std::vector<std::string> Trace(Chain& chain) { return Trace(chain.analog, {&chain.a, &chain.b}); }

// Crossbars in series, each feeding all `width` video inputs of the next: every level
// multiplies the routes. The farthest has `inputs` video inputs of its own.
struct Series {
    FakePin analog{"cam.analog", PINDIR_INPUT};
    std::deque<FakeCrossbar> crossbars;
    Series(int levels, size_t width, size_t inputs) {
        for (int k = 0; k < levels; ++k)
            crossbars.emplace_back("x" + std::to_string(k), std::vector<LONG>(k + 1 < levels ? width : inputs, PhysConn_Video_Composite));
        analog.peer = &crossbars[0].Output(), crossbars[0].Output().peer = &analog;
        for (int k = 1; k < levels; ++k) {
            crossbars[k].Output().peer = &crossbars[k - 1].Input(0);
            for (size_t i = 0; i < width; ++i) crossbars[k - 1].Input(i).peer = &crossbars[k].Output();
        }
    }
    std::vector<std::string> Trace(LONG* visits = nullptr) {
        std::vector<FakeCrossbar*> all;
        for (FakeCrossbar& c : crossbars) all.push_back(&c);
        return ::Trace(analog, all, visits);
    }
};

}  // namespace

// Every video input of every crossbar is a route. Crossbars wired in a loop are not entered
// again: the input that leads back stores nothing.
TEST(CrossbarRouter, ListsEveryVideoRouteAndEndsInALoop) {
    Chain chain;
    EXPECT_EQ(Trace(chain), (std::vector<std::string>{"b 0>0, a 0>0", "b 1>0, a 0>0", "a 1>0"}));
    chain.b.Input(0).peer = &chain.a.Output();
    EXPECT_EQ(Trace(chain), (std::vector<std::string>{"b 1>0, a 0>0", "a 1>0"}));
}

// However the crossbars are wired, the walk enters at most maxCrossbarVisits of them and
// stores at most maxRoutes routes; within both it lists every route.
TEST(CrossbarRouter, BoundsItsWork) {
    LONG visits = 0;
    EXPECT_EQ(Series(3, 2, 2).Trace(&visits).size(), 8u);
    EXPECT_EQ(visits, 7);
    // Nine levels would be 511 crossbars entered and 512 routes.
    EXPECT_LT(Series(9, 2, 2).Trace(&visits).size(), 512u);
    EXPECT_EQ(visits, CrossbarRouter::maxCrossbarVisits);
    // Five inputs fed by one crossbar of 250 would be 1250 routes through six crossbars.
    EXPECT_EQ(Series(2, 5, 250).Trace(&visits).size(), size_t(CrossbarRouter::maxRoutes));
}

// A route or node that cannot be allocated is not stored and takes no reference.
TEST(CrossbarRouter, AllocationFailuresLeaveNothingHeld) {
    static int left;
    auto* saved = crossbar::Allocate;
    crossbar::Allocate = [](size_t bytes) { return left-- > 0 ? std::malloc(bytes) : nullptr; };
    for (int allowed = 0; allowed < 8; ++allowed) {
        Chain chain;
        left = allowed;
        Trace(chain);
    }
    crossbar::Allocate = saved;
}
