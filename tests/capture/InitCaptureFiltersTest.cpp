// Every way building the graph around the capture filter can fail leaves the record empty.
#include "CaptureWorld.h"
#include <functional>

using namespace doubles;

namespace {

// The camera with a microphone moniker beside it, so the audio path can fail too.
struct World {
    CameraWorld camera;
    FakePropertyBag micBag{"mic.bag", L"Mic"};
    FakeFilter mic{"mic"};
    FakeMoniker micMoniker{"mic.moniker", &micBag, static_cast<IBaseFilter*>(&mic)};
};

const std::pair<const char*, std::function<void(World&)>> failures[] = {
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

TEST_F(CaptureTest, InitCaptureFiltersLeavesTheRecordEmptyOnEveryFailure) {
    for (const auto& [what, arrange] : failures) {
        SCOPED_TRACE(what);
        World w;
        captureState.videoMoniker = &w.camera.moniker;
        arrange(w);

        EXPECT_FALSE(InitCaptureFilters());

        EXPECT_FALSE(GraphHeld());
        EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
    }
}

}  // namespace

namespace {

// The camera as it should come out: compression from the video pin when the interleaved
// pin has none, a router for its analog input even when no crossbar feeds it, and closed
// captions found on the VBI pin without asking for the CC one.
TEST_F(CaptureTest, InitCaptureFiltersFindsWhatTheCameraOffers) {
    CameraWorld w;
    FakeUnknown compression("compression");
    FakePin analogIn("cam.analog", PINDIR_INPUT), vbi("cam.vbi", PINDIR_OUTPUT);
    analogIn.hasCategory = true;
    analogIn.category = PIN_CATEGORY_ANALOGVIDEOIN;
    w.camera.AddPin(analogIn);
    std::vector<std::string> asked;
    w.platformBuilder.onFindInterface = [&](const BuilderCall& c, void** out) {
        *out = nullptr;
        if (*c.iid != IID_IAMVideoCompression || *c.type != MEDIATYPE_Video) return E_NOINTERFACE;
        *out = static_cast<IUnknown*>(&compression);
        compression.AddRef();
        return S_OK;
    };
    w.platformBuilder.onFindPin = [&](const BuilderCall& c, IPin** out) {
        asked.push_back(*c.category == PIN_CATEGORY_VBI ? "VBI" : "other");
        *out = &vbi;
        vbi.AddRef();
        return S_OK;
    };
    captureState.videoMoniker = &w.moniker;
    captureState.videoInputCount = 77;

    ASSERT_TRUE(InitCaptureFilters());

    EXPECT_EQ(captureState.videoCompression.Get(), static_cast<IUnknown*>(&compression));
    EXPECT_TRUE(w.graph.Contains(static_cast<IBaseFilter*>(&w.camera)));
    EXPECT_EQ(w.camera.joinedName, L"Quendal KVX410RB PC Camera");
    EXPECT_NE(captureState.crossbarRouter, nullptr) << "a router is kept even when tracing found nothing";
    EXPECT_EQ(captureState.videoInputCount, 77) << "no count is read from a router that failed";
    EXPECT_TRUE(captureState.closedCaptionsAvailable);
    EXPECT_EQ(asked, std::vector<std::string>{"VBI"});
    EXPECT_TRUE(captureState.audioCaptureRelevant);
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
}

}  // namespace
