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
    const DWORD before = LiveDemoFilters();
    SelectDevice("", "");
    const CaptureState& s = captureState;
    const bool found = s.videoMoniker;
    if (found) {
        ASSERT_TRUE(s.videoCaptureFilter);
        EXPECT_TRUE(s.builder && s.filterGraph);
        EXPECT_EQ(doubles::Narrow(s.videoFriendlyName), "Quendal KVX410RB PC Camera");
        // Wine's builder finds the capture pin's format control on the plain video type.
        EXPECT_TRUE(s.videoStreamConfig && s.audioCaptureRelevant);
        EXPECT_FALSE(s.videoCompression || s.crossbarRouter || s.closedCaptionsAvailable);
        EXPECT_EQ(LiveDemoFilters(), before + 1);
        TearDownGraph();
        ReleaseCaptureFilters();
        EXPECT_EQ(LiveDemoFilters(), before) << "the graph or the record kept the capture filter";
    }
    EmptyCaptureState();
    CoUninitialize();
    if (!found) GTEST_SKIP() << "the demo camera is not registered in this prefix";
}

}  // namespace
