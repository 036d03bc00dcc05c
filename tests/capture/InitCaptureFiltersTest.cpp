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
