// The teardown of a graph on Wine's filter graph manager.
#include <gtest/gtest.h>

#include "capture/CaptureState.h"
#include "doubles/Doubles.h"
#include "doubles/Hooks.h"

using namespace doubles;

// Downstream filters go deepest first, each after both ends of its connection; the
// crossbar upstream stays.
TEST(Teardown, RemovesDownstreamDeepestFirstAfterDisconnectingAndKeepsUpstream) {
    FakePin capture{"cam.capture", PINDIR_OUTPUT}, analog{"cam.analog", PINDIR_INPUT}, in{"renderer.in", PINDIR_INPUT},
        out{"renderer.out", PINDIR_OUTPUT}, sinkIn{"sink.in", PINDIR_INPUT};
    FakeFilter camera{"cam", capture, analog}, renderer{"renderer", in, out}, sink{"sink", sinkIn};
    FakeCrossbar crossbar{"xbar", {PhysConn_Video_Composite}};
    CaptureState& s = captureState;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(s.filterGraph.Receive())), S_OK);
    s.videoCaptureFilter = &camera;
    for (IBaseFilter* f : {&camera, &renderer, &sink, &crossbar.filter}) ASSERT_EQ(s.filterGraph->AddFilter(f, nullptr), S_OK);
    ASSERT_EQ(s.filterGraph->ConnectDirect(&crossbar.Output(), &analog, nullptr), S_OK);
    ASSERT_EQ(s.filterGraph->ConnectDirect(&capture, &in, nullptr), S_OK);
    ASSERT_EQ(s.filterGraph->ConnectDirect(&out, &sinkIn, nullptr), S_OK);
    hooks::Hook({s.filterGraph});
    hooks::plan.Record();
    TearDownGraph();
    hooks::plan.active = false;
    EXPECT_EQ(hooks::plan.Calls("graph."),
              "graph.Disconnect(sink.in) graph.Disconnect(renderer.out) graph.RemoveFilter(sink) "
              "graph.Disconnect(renderer.in) graph.Disconnect(cam.capture) graph.RemoveFilter(renderer)");
    EXPECT_TRUE(crossbar.filter.graph && analog.peer);
    ReleaseCaptureFilters();
}
