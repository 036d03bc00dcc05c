// The routes through the crossbars upstream of a capture filter's analog video input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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

// Traces from the analog input. While the router lives each crossbar is held once for every
// route it is on; afterwards nothing is held.
std::vector<std::string> Trace(Chain& chain) {
    std::vector<std::string> routes;
    {
        HRESULT hr = S_OK;
        CrossbarRouter router(&chain.analog, &hr);
        LONG count = 0, entries = 0;
        if (router.routes) routes = Routes(router), router.GetRouteCount(&count);
        for (const std::string& route : routes) entries += 1 + std::count(route.begin(), route.end(), ',');
        EXPECT_TRUE(chain.a.refs + chain.b.refs - 2 == entries && count == LONG(routes.size()));
    }
    EXPECT_BALANCED();
    return routes;
}

}  // namespace

// Every video input of every crossbar is a route. Crossbars wired in a loop end the walk
// at its depth bound, with the route that ends at each level.
TEST(CrossbarRouter, ListsEveryVideoRouteAndEndsInALoop) {
    Chain chain;
    EXPECT_EQ(Trace(chain), (std::vector<std::string>{"b 0>0, a 0>0", "b 1>0, a 0>0", "a 1>0"}));
    chain.b.Input(0).peer = &chain.a.Output();
    EXPECT_EQ(Trace(chain).size(), size_t(CrossbarRouter::maxDepth));
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
