#pragma once
// What the capture tests share: a record emptied before and after each test, and the
// camera as the platform lists it: registered classes, the camera's filter with a capture
// pin, and its device moniker whose bag carries the camera's name.
#include "capture/CaptureState.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>

// Releases everything the record holds, monikers too, and zeroes its plain values.
inline void EmptyCaptureState() {
    ReleaseCaptureFilters();
    captureState.videoMoniker.Clear();
    captureState.audioMoniker.Clear();
    captureState = {};
}
// Anything of the graph the record still holds.
inline bool GraphHeld() {
    const CaptureState& s = captureState;
    return s.builder || s.filterGraph || s.videoCaptureFilter || s.audioCaptureFilter || s.crossbarRouter ||
           s.videoCompression || s.videoStreamConfig || s.audioStreamConfig || s.vfwCaptureDialogs;
}
// Ends a test: the record lets go, then every double must be back where it started.
#define EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED() (EmptyCaptureState(), EXPECT_DOUBLES_BALANCED())

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override { EmptyCaptureState(); }
    void TearDown() override { EmptyCaptureState(); }
};

struct CameraWorld {
    explicit CameraWorld(doubles::Journal* journal = nullptr)
        : platformBuilder("platformBuilder", journal), graph("graph", journal), camera("cam", journal),
          captureOut("cam.out", PINDIR_OUTPUT, journal), bag("cam.bag", L"Quendal KVX410RB PC Camera", journal),
          moniker("cam.moniker", &bag, static_cast<IBaseFilter*>(&camera), journal) {
        registry.Register(CLSID_CaptureGraphBuilder2, &platformBuilder);
        registry.Register(CLSID_FilterGraph, &graph);
        captureOut.hasCategory = true;
        captureOut.category = PIN_CATEGORY_CAPTURE;
        camera.AddPin(captureOut);
    }
    doubles::FakeClassRegistry registry;
    doubles::FakeCaptureGraphBuilder platformBuilder;
    doubles::FakeGraph graph;
    doubles::FakeFilter camera;
    doubles::FakePin captureOut;
    doubles::FakePropertyBag bag;
    doubles::FakeMoniker moniker;
};
