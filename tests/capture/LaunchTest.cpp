// A double-click's launch against Wine's own objects, and the teardown of a graph.
#include <gtest/gtest.h>

#include "capture/LaunchWorld.h"
#include "doubles/Hooks.h"

using namespace doubles;

// The first device whose name is the camera's without regard to case; its driver's pages
// in one frame owned by the tray window, whatever is clicked meanwhile; nothing kept.
TEST(Launch, OpensTheFirstMatchingCamerasPagesOnceAndKeepsNothing) {
    LaunchWorld w;
    w.Launch();
    EXPECT_EQ(w.frames, std::vector<std::string>{
        "owner tray at 30,30 caption - objects 1:cam pages 1:camera locale 0 device QUENDAL KVX410RB PC CAMERA "
        "routes 2 captions 1 format cam.format"});
    EXPECT_EQ(w.Left(), "");
}

TEST(Launch, TheDemoCameraIsFoundAndLetGoOf) {
    LaunchWorld w(true);
    w.Launch();
    EXPECT_EQ(w.frames, std::vector<std::string>{
        "owner tray at 30,30 caption - objects 1:platform pages 1:other locale 0 device Quendal KVX410RB PC Camera "
        "routes 0 captions 0 format platform"});
    EXPECT_EQ(w.Left(), "");
}

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
