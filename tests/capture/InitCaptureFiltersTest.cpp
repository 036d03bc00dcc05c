// Building the graph around the capture filter: what is found, and that every failure
// leaves the record empty.
#include "CaptureWorld.h"
#include "builder/CaptureBuilder.h"
#include "crossbar/CrossbarRouter.h"
#include <functional>

using namespace doubles;

namespace {

using InitCaptureFiltersTest = CaptureTest;

bool Is(const GUID* given, const GUID& wanted) { return given && *given == wanted; }

void ExpectRecordEmpty() {
    const CaptureState& s = captureState;
    EXPECT_FALSE(s.builder);
    EXPECT_FALSE(s.filterGraph);
    EXPECT_FALSE(s.videoCaptureFilter);
    EXPECT_FALSE(s.audioCaptureFilter);
    EXPECT_FALSE(s.videoCompression || s.videoStreamConfig || s.audioStreamConfig ||
                 s.vfwCaptureDialogs);
    EXPECT_FALSE(s.crossbarRouter);
}

// The camera with a microphone moniker beside it, so the audio path can fail too.
struct World {
    World()
        : camera(&journal), micBag("mic.bag", L"Mic", &journal), mic("mic", &journal),
          micMoniker("mic.moniker", &micBag, static_cast<IBaseFilter*>(&mic), &journal) {}
    Journal journal;
    CameraWorld camera;
    FakePropertyBag micBag;
    FakeFilter mic;
    FakeMoniker micMoniker;
};

struct FailureCase {
    const char* what;
    std::function<void(World&)> arrange;
};

const FailureCase failures[] = {
    {"no video moniker", [](World&) { captureState.videoMoniker.Clear(); }},
    {"moniker binds to no filter", [](World& w) { w.camera.moniker.bindToObjectResult = E_FAIL; }},
    {"no filter graph manager", [](World& w) { w.camera.registry.Fail(CLSID_FilterGraph, REGDB_E_CLASSNOTREG); }},
    {"no platform builder", [](World& w) { w.camera.registry.Fail(CLSID_CaptureGraphBuilder2, REGDB_E_CLASSNOTREG); }},
    {"SetFiltergraph refused", [](World& w) { w.camera.platformBuilder.results["SetFiltergraph"] = E_UNEXPECTED; }},
    {"SetFiltergraph answers S_FALSE", [](World& w) { w.camera.platformBuilder.results["SetFiltergraph"] = S_FALSE; }},
    {"graph refuses the camera", [](World& w) { w.camera.graph.addFilterResults = {VFW_E_DUPLICATE_NAME}; }},
    {"graph refuses the microphone", [](World& w) {
         captureState.audioMoniker = &w.micMoniker;
         w.camera.graph.addFilterResults = {S_OK, E_FAIL};
     }},
};

TEST_F(InitCaptureFiltersTest, EveryFailureLeavesTheRecordEmpty) {
    for (const FailureCase& c : failures) {
        SCOPED_TRACE(c.what);
        {
            World w;
            w.camera.ChooseCamera();
            c.arrange(w);

            EXPECT_FALSE(InitCaptureFilters());

            ExpectRecordEmpty();
            EmptyCaptureState();
            EXPECT_DOUBLES_BALANCED();
        }
    }
}

TEST_F(InitCaptureFiltersTest, FindsControlsRouterAndClosedCaptions) {
    World w;
    CameraWorld& cam = w.camera;
    TaskMemWatch taskMem;
    // Compression only on the plain video pin; a capture pin that delivers interleaved
    // streams; an analog input fed by a crossbar with two video inputs; a VBI pin.
    FakeUnknown compression("compression", &w.journal);
    FakeStreamConfig config("config", MEDIATYPE_Interleaved, &w.journal);
    FakePin analogIn("cam.analog", PINDIR_INPUT, &w.journal);
    analogIn.hasCategory = true;
    analogIn.category = PIN_CATEGORY_ANALOGVIDEOIN;
    // An output pin claiming the analog category is never asked.
    FakePin oddOut("cam.odd", PINDIR_OUTPUT, &w.journal);
    oddOut.hasCategory = true;
    oddOut.category = PIN_CATEGORY_ANALOGVIDEOIN;
    FakePin vbi("cam.vbi", PINDIR_OUTPUT, &w.journal);
    cam.camera.AddPin(oddOut);
    cam.camera.AddPin(analogIn);
    FakeCrossbar crossbar("xbar", {{PhysConn_Video_Composite}, {PhysConn_Video_SVideo}},
                          {{PhysConn_Video_VideoDecoder}}, &w.journal);
    FakePin::Link(crossbar.Output(0), analogIn);
    std::vector<std::string> interfaceAsks;
    cam.platformBuilder.onFindInterface = [&](const BuilderCall& call, void** out) -> HRESULT {
        interfaceAsks.push_back(Is(call.type, MEDIATYPE_Interleaved) ? "iavs" : Is(call.type, MEDIATYPE_Video) ? "vids" : "?");
        if (*call.iid == IID_IAMVideoCompression && Is(call.type, MEDIATYPE_Video))
            return compression.QueryInterface(IID_IUnknown, out);
        if (*call.iid == IID_IAMStreamConfig && Is(call.type, MEDIATYPE_Interleaved))
            return config.QueryInterface(IID_IAMStreamConfig, out);
        return E_NOINTERFACE;
    };
    std::vector<std::string> pinAsks;
    cam.platformBuilder.onFindPin = [&](const BuilderCall& call, IPin** out) -> HRESULT {
        pinAsks.push_back(Is(call.category, PIN_CATEGORY_VBI) ? "vbi" : "cc");
        if (call.direction != PINDIR_OUTPUT || call.type || call.unconnected || call.index != 0)
            return E_INVALIDARG;
        if (!Is(call.category, PIN_CATEGORY_VBI)) return E_FAIL;
        return vbi.QueryInterface(IID_IPin, reinterpret_cast<void**>(out));
    };
    cam.ChooseCamera();
    captureState.audioMoniker = &w.micMoniker;

    EXPECT_TRUE(InitCaptureFilters());

    const CaptureState& s = captureState;
    EXPECT_EQ(s.videoCaptureFilter.Get(), static_cast<IBaseFilter*>(&cam.camera));
    EXPECT_EQ(Narrow(s.videoFriendlyName), "Quendal KVX410RB PC Camera");
    EXPECT_EQ(Narrow(cam.camera.joinedName.c_str()), "Quendal KVX410RB PC Camera");
    EXPECT_EQ(s.videoCompression.Get(), reinterpret_cast<IAMVideoCompression*>(static_cast<IUnknown*>(&compression)));
    EXPECT_EQ(s.videoStreamConfig.Get(), static_cast<IAMStreamConfig*>(&config));
    EXPECT_FALSE(s.vfwCaptureDialogs);
    // Compression: interleaved, then video; format: interleaved only; dialogs: video only.
    EXPECT_EQ(interfaceAsks, (std::vector<std::string>{"iavs", "vids", "iavs", "vids"}));
    EXPECT_EQ(taskMem.Outstanding(), 0);
    // Interleaved capture carries its own sound: the microphone stays out.
    EXPECT_FALSE(s.audioCaptureRelevant);
    EXPECT_FALSE(s.audioCaptureFilter);
    EXPECT_FALSE(cam.graph.Contains(&w.mic));
    ASSERT_TRUE(s.crossbarRouter);
    EXPECT_EQ(s.videoInputCount, 2);
    EXPECT_EQ(w.journal.IndexOf("cam.odd.Get"), -1) << w.journal.Text();
    EXPECT_TRUE(s.closedCaptionsAvailable);
    EXPECT_EQ(pinAsks, std::vector<std::string>{"vbi"});

    EmptyCaptureState();
    EXPECT_DOUBLES_BALANCED();
}

}  // namespace
