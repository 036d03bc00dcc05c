// Emptying the record: what goes, in which order, and what stays.
#include "CaptureWorld.h"
#include "builder/CaptureBuilder.h"
#include "crossbar/CrossbarRouter.h"

using namespace doubles;

namespace {

// The camera's pins in order: X.out -> cam.in upstream; cam.out -> A.in, A.out -> B.in
// downstream; cam.out2 -> C.in whose pin information fails; cam.out3 -> D.in after it.
TEST_F(CaptureTest, TearDownGraphRemovesDownstreamDeepestFirstAndStopsAtFailingPinInformation) {
    Journal j;
    CameraWorld w;
    w.graph.journal = &j;
    FakeFilter x("X"), a("A"), b("B"), c("C"), d("D");
    FakePin xOut("X.out", PINDIR_OUTPUT), camIn("cam.in", PINDIR_INPUT), aIn("A.in", PINDIR_INPUT),
        aOut("A.out", PINDIR_OUTPUT), bIn("B.in", PINDIR_INPUT), out2("cam.out2", PINDIR_OUTPUT),
        cIn("C.in", PINDIR_INPUT), out3("cam.out3", PINDIR_OUTPUT), dIn("D.in", PINDIR_INPUT);
    x.AddPin(xOut), a.AddPin(aIn), a.AddPin(aOut), b.AddPin(bIn), c.AddPin(cIn), d.AddPin(dIn);
    for (FakePin* p : {&camIn, &w.captureOut, &out2, &out3}) w.camera.AddPin(*p);
    FakePin::Link(xOut, camIn), FakePin::Link(w.captureOut, aIn), FakePin::Link(aOut, bIn);
    FakePin::Link(out2, cIn), FakePin::Link(out3, dIn);
    cIn.queryPinInfoResult = E_FAIL;
    for (FakeFilter* f : {&x, &w.camera, &a, &b, &c, &d}) w.graph.AddFilter(f, L"");
    captureState.filterGraph = &w.graph;
    captureState.videoCaptureFilter = &w.camera;
    captureState.builder = new CaptureBuilder;
    FakeUnknown inserted("inserted");
    captureState.builder->mpegFilter = reinterpret_cast<IBaseFilter*>(static_cast<IUnknown*>(&inserted));
    j.Clear();

    TearDownGraph();

    EXPECT_EQ(j.Text(), "graph.Disconnect(B.in) graph.Disconnect(A.out) graph.RemoveFilter(B) "
                        "graph.Disconnect(A.in) graph.Disconnect(cam.out) graph.RemoveFilter(A)");
    for (FakeFilter* f : {&x, &w.camera, &c, &d}) EXPECT_TRUE(w.graph.Contains(f)) << f->name;
    EXPECT_EQ(camIn.peer, &xOut);
    EXPECT_EQ(dIn.peer, &out3);
    // The builder let go of the filters it inserted; the record keeps its own references.
    EXPECT_FALSE(captureState.builder->mpegFilter);
    EXPECT_TRUE(captureState.filterGraph && captureState.videoCaptureFilter);
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
}

TEST_F(CaptureTest, ReleaseCaptureFiltersLetsGoOfTheGraphFirstAndTheRouterLast) {
    CameraWorld w;
    FakeFilter mic("mic");
    FakeUnknown audioConfig("audioConfig"), videoConfig("videoConfig"), compression("compression"), dialogs("dialogs");
    // A crossbar upstream of an analog input gives the router one route to let go of.
    FakePin analogIn("cam.analog", PINDIR_INPUT);
    w.camera.AddPin(analogIn);
    FakeCrossbar crossbar("xbar", {{PhysConn_Video_Composite}}, {{PhysConn_Video_VideoDecoder}});
    FakePin::Link(crossbar.Output(0), analogIn);
    CaptureState& s = captureState;
    s.filterGraph = &w.graph;
    s.builder = new CaptureBuilder;
    s.videoCaptureFilter = &w.camera;
    s.audioCaptureFilter = &mic;
    // Held and released only: any object stands in.
    s.audioStreamConfig = reinterpret_cast<IAMStreamConfig*>(static_cast<IUnknown*>(&audioConfig));
    s.videoStreamConfig = reinterpret_cast<IAMStreamConfig*>(static_cast<IUnknown*>(&videoConfig));
    s.videoCompression = reinterpret_cast<IAMVideoCompression*>(static_cast<IUnknown*>(&compression));
    s.vfwCaptureDialogs = reinterpret_cast<IAMVfwCaptureDialogs*>(static_cast<IUnknown*>(&dialogs));
    HRESULT status = E_FAIL;
    s.crossbarRouter = new CrossbarRouter(&analogIn, &status);
    ASSERT_EQ(status, S_OK);
    Journal j;
    for (ComDouble* d : std::initializer_list<ComDouble*>{&w.graph, &w.platformBuilder, &w.camera, &mic, &audioConfig,
                                                           &videoConfig, &compression, &dialogs, &crossbar})
        d->journal = &j, d->journalRefs = true;

    ReleaseCaptureFilters();

    EXPECT_EQ(j.Text(), "graph.Release platformBuilder.Release cam.Release mic.Release audioConfig.Release "
                        "videoConfig.Release compression.Release dialogs.Release xbar.Release");
    EXPECT_FALSE(GraphHeld());
    // Both are safe on the empty record and do nothing there.
    j.Clear();
    TearDownGraph();
    ReleaseCaptureFilters();
    EXPECT_EQ(j.Text(), "");
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
}

}  // namespace
