// Against Wine's own device enumerator, filter graph and capture graph builder, with the
// demo camera registered in the prefix (tools/test.sh registers it).
#include "CaptureWorld.h"

namespace {

DWORD LiveDemoFilters() {
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Navolet\\DemoCam", "LiveFilters", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

TEST_F(CaptureTest, OnWineTheDemoCameraIsFoundBuiltAndLetGoOf) {
    CoInitialize(nullptr);
    SelectDevice("", "");
    const CaptureState& s = captureState;
    const bool found = s.videoMoniker;
    if (found) {
        EXPECT_TRUE(s.videoCaptureFilter && s.builder && s.filterGraph);
        EXPECT_EQ(doubles::Narrow(s.videoFriendlyName), "Quendal KVX410RB PC Camera");
        // Wine's builder finds the capture pin's format control on the plain video type.
        EXPECT_TRUE(s.videoStreamConfig && s.audioCaptureRelevant);
        EXPECT_FALSE(s.videoCompression || s.crossbarRouter || s.closedCaptionsAvailable);
        // The value mirrors this process's count once a filter is born here; before, another's.
        EXPECT_EQ(LiveDemoFilters(), 1u);
        TearDownGraph();
        ReleaseCaptureFilters();
        EXPECT_EQ(LiveDemoFilters(), 0u) << "the graph or the record kept the capture filter";
    }
    EmptyCaptureState();
    CoUninitialize();
    if (!found) GTEST_SKIP() << "the demo camera is not registered in this prefix";
}

}  // namespace
