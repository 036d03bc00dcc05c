// Emptying the record: what goes, in which order, and what stays.
#include "CaptureWorld.h"
#include "builder/CaptureBuilder.h"
#include "crossbar/CrossbarRouter.h"

using namespace doubles;

namespace {

std::string GraphCalls(const Journal& j) {
    std::string text;
    for (const std::string& e : j.entries)
        if (e.rfind("graph.", 0) == 0) text += (text.empty() ? "" : " ") + e;
    return text;
}

// The camera's pins in order: X.out -> cam.in upstream; cam.out -> A.in, A.out -> B.in
// downstream; cam.out2 -> C.in whose pin information fails; cam.out3 -> D.in after it.
TEST_F(CaptureTest, TearDownGraphRemovesDownstreamDeepestFirstAndStopsAtFailingPinInformation) {
    Journal j;
    CameraWorld w(&j);
    FakeFilter x("X", &j), a("A", &j), b("B", &j), c("C", &j), d("D", &j);
    FakePin xOut("X.out", PINDIR_OUTPUT, &j), camIn("cam.in", PINDIR_INPUT, &j), aIn("A.in", PINDIR_INPUT, &j),
        aOut("A.out", PINDIR_OUTPUT, &j), bIn("B.in", PINDIR_INPUT, &j), out2("cam.out2", PINDIR_OUTPUT, &j),
        cIn("C.in", PINDIR_INPUT, &j), out3("cam.out3", PINDIR_OUTPUT, &j), dIn("D.in", PINDIR_INPUT, &j);
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

    EXPECT_EQ(GraphCalls(j), "graph.Disconnect(B.in) graph.Disconnect(A.out) graph.RemoveFilter(B) "
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
    Journal j;
    CameraWorld w(&j);
    FakeFilter mic("mic", &j);
    FakeUnknown audioConfig("audioConfig", &j), videoConfig("videoConfig", &j), compression("compression", &j),
        dialogs("dialogs", &j);
    // A crossbar upstream of an analog input gives the router one route to let go of.
    FakePin analogIn("cam.analog", PINDIR_INPUT, &j);
    w.camera.AddPin(analogIn);
    FakeCrossbar crossbar("xbar", {{PhysConn_Video_Composite}}, {{PhysConn_Video_VideoDecoder}}, &j);
    FakePin::Link(crossbar.Output(0), analogIn);
    auto as = [](FakeUnknown& u) { return static_cast<IUnknown*>(&u); };
    CaptureState& s = captureState;
    s.filterGraph = &w.graph;
    s.builder = new CaptureBuilder;
    s.videoCaptureFilter = &w.camera;
    s.audioCaptureFilter = &mic;
    s.audioStreamConfig = reinterpret_cast<IAMStreamConfig*>(as(audioConfig));
    s.videoStreamConfig = reinterpret_cast<IAMStreamConfig*>(as(videoConfig));
    s.videoCompression = reinterpret_cast<IAMVideoCompression*>(as(compression));
    s.vfwCaptureDialogs = reinterpret_cast<IAMVfwCaptureDialogs*>(as(dialogs));
    HRESULT status = E_FAIL;
    s.crossbarRouter = new CrossbarRouter(&analogIn, &status);
    ASSERT_EQ(status, S_OK);
    for (ComDouble* d : std::initializer_list<ComDouble*>{&w.graph, &w.platformBuilder, &w.camera, &mic, &audioConfig,
                                                           &videoConfig, &compression, &dialogs, &crossbar})
        d->journalRefs = true;
    j.Clear();

    ReleaseCaptureFilters();

    std::string releases;
    for (const std::string& e : j.entries)
        if (e.size() > 8 && e.compare(e.size() - 8, 8, ".Release") == 0) releases += e + " ";
    EXPECT_EQ(releases, "graph.Release platformBuilder.Release cam.Release mic.Release audioConfig.Release "
                        "videoConfig.Release compression.Release dialogs.Release xbar.Release ");
    EXPECT_FALSE(s.filterGraph || s.builder || s.videoCaptureFilter || s.audioCaptureFilter || s.audioStreamConfig ||
                 s.videoStreamConfig || s.videoCompression || s.vfwCaptureDialogs || s.crossbarRouter);
    // Both are safe on the empty record and do nothing there.
    j.Clear();
    TearDownGraph();
    ReleaseCaptureFilters();
    EXPECT_EQ(j.Text(), "");
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
}

}  // namespace
