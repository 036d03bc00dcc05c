// Emptying the record: what goes, in which order, and what stays.
#include "CaptureWorld.h"
#include "builder/CaptureBuilder.h"
#include "crossbar/CrossbarRouter.h"

using namespace doubles;

namespace {

// cam.out -> A.in, A.out -> B.in downstream; X.out -> cam.in upstream (a crossbar, say).
struct Chain {
    explicit Chain(Journal* j)
        : world(j), camIn("cam.in", PINDIR_INPUT, j), a("A", j), aIn("A.in", PINDIR_INPUT, j),
          aOut("A.out", PINDIR_OUTPUT, j), b("B", j), bIn("B.in", PINDIR_INPUT, j), x("X", j),
          xOut("X.out", PINDIR_OUTPUT, j) {
        world.camera.AddPin(camIn);
        a.AddPin(aIn);
        a.AddPin(aOut);
        b.AddPin(bIn);
        x.AddPin(xOut);
        FakePin::Link(xOut, camIn);
        FakePin::Link(world.captureOut, aIn);
        FakePin::Link(aOut, bIn);
        for (IBaseFilter* f : {static_cast<IBaseFilter*>(&x), static_cast<IBaseFilter*>(&world.camera),
                               static_cast<IBaseFilter*>(&a), static_cast<IBaseFilter*>(&b)})
            world.graph.AddFilter(f, L"");
        captureState.filterGraph = &world.graph;
        captureState.videoCaptureFilter = &world.camera;
        captureState.builder = new CaptureBuilder;
    }
    CameraWorld world;
    FakePin camIn;
    FakeFilter a;
    FakePin aIn, aOut;
    FakeFilter b;
    FakePin bIn;
    FakeFilter x;
    FakePin xOut;
};

using TearDownGraphTest = CaptureTest;
using ReleaseCaptureFiltersTest = CaptureTest;

TEST_F(TearDownGraphTest, RemovesTheDownstreamChainDeepestFirstAndLeavesUpstreamAlone) {
    Journal j;
    Chain chain(&j);
    FakeUnknown inserted("inserted");
    captureState.builder->mpegFilter = reinterpret_cast<IBaseFilter*>(static_cast<IUnknown*>(&inserted));
    j.Clear();

    TearDownGraph();

    EXPECT_EQ(EntriesStartingWith(j, "graph."),
              "graph.Disconnect(B.in) graph.Disconnect(A.out) graph.RemoveFilter(B) "
              "graph.Disconnect(A.in) graph.Disconnect(cam.out) graph.RemoveFilter(A)");
    EXPECT_TRUE(chain.world.graph.Contains(&chain.x));
    EXPECT_TRUE(chain.world.graph.Contains(&chain.world.camera));
    EXPECT_EQ(chain.camIn.peer, &chain.xOut);
    // The builder let go of the filters it inserted; the record keeps its own references.
    EXPECT_FALSE(captureState.builder->mpegFilter);
    EXPECT_TRUE(captureState.filterGraph && captureState.videoCaptureFilter && captureState.builder);

    EmptyCaptureState();
    EXPECT_DOUBLES_BALANCED();
}

TEST_F(TearDownGraphTest, FailingPinInformationStopsTheScan) {
    Journal j;
    CameraWorld world(&j);
    FakePin out2("cam.out2", PINDIR_OUTPUT, &j);
    world.camera.AddPin(out2);
    FakeFilter a("A", &j), b("B", &j);
    FakePin aIn("A.in", PINDIR_INPUT, &j), bIn("B.in", PINDIR_INPUT, &j);
    a.AddPin(aIn);
    b.AddPin(bIn);
    FakePin::Link(world.captureOut, aIn);
    FakePin::Link(out2, bIn);
    aIn.queryPinInfoResult = E_FAIL;
    captureState.filterGraph = &world.graph;
    captureState.videoCaptureFilter = &world.camera;
    j.Clear();

    TearDownGraph();

    EXPECT_EQ(EntriesStartingWith(j, "graph."), "");
    EXPECT_EQ(bIn.peer, &out2);

    EmptyCaptureState();
    EXPECT_DOUBLES_BALANCED();
}

TEST_F(ReleaseCaptureFiltersTest, ReleasesGraphBeforeFiltersAndRouterLast) {
    Journal j;
    CameraWorld world(&j);
    FakeFilter mic("mic", &j);
    FakeStreamConfig audioConfig("audioConfig", MEDIATYPE_Audio, &j);
    FakeStreamConfig videoConfig("videoConfig", MEDIATYPE_Video, &j);
    FakeUnknown compression("compression", &j), dialogs("dialogs", &j);
    // A crossbar upstream of an analog input gives the router one route to let go of.
    FakePin analogIn("cam.analog", PINDIR_INPUT, &j);
    world.camera.AddPin(analogIn);
    FakeCrossbar crossbar("xbar", {{PhysConn_Video_Composite}}, {{PhysConn_Video_VideoDecoder}}, &j);
    FakePin::Link(crossbar.Output(0), analogIn);

    CaptureState& s = captureState;
    s.filterGraph = &world.graph;
    s.builder = new CaptureBuilder;
    s.videoCaptureFilter = &world.camera;
    s.audioCaptureFilter = &mic;
    s.audioStreamConfig = &audioConfig;
    s.videoStreamConfig = &videoConfig;
    s.videoCompression = reinterpret_cast<IAMVideoCompression*>(static_cast<IUnknown*>(&compression));
    s.vfwCaptureDialogs = reinterpret_cast<IAMVfwCaptureDialogs*>(static_cast<IUnknown*>(&dialogs));
    HRESULT status = E_FAIL;
    s.crossbarRouter = new CrossbarRouter(&analogIn, &status);
    ASSERT_EQ(status, S_OK);
    for (ComDouble* d : std::initializer_list<ComDouble*>{&world.graph, &world.platformBuilder, &world.camera,
                                                           &mic, &audioConfig, &videoConfig, &compression,
                                                           &dialogs, &crossbar})
        d->journalRefs = true;
    j.Clear();

    ReleaseCaptureFilters();

    EXPECT_EQ(EntriesEndingWith(j, ".Release"),
              "graph.Release platformBuilder.Release cam.Release mic.Release audioConfig.Release "
              "videoConfig.Release compression.Release dialogs.Release xbar.Release");
    EXPECT_FALSE(s.filterGraph || s.builder || s.videoCaptureFilter || s.audioCaptureFilter ||
                 s.audioStreamConfig || s.videoStreamConfig || s.videoCompression ||
                 s.vfwCaptureDialogs || s.crossbarRouter);

    // Both operations are safe on the empty record and do nothing there.
    j.Clear();
    TearDownGraph();
    ReleaseCaptureFilters();
    EXPECT_EQ(j.Text(), "");

    EmptyCaptureState();
    EXPECT_DOUBLES_BALANCED();
}

}  // namespace
