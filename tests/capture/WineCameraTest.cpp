// Against Wine's own device enumerator, filter graph and capture graph builder, with the
// demo camera registered in the prefix (tools/test.sh registers it).
#include "CaptureWorld.h"

namespace {

DWORD LiveDemoFilters() {
    DWORD value = 0, size = sizeof value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Navolet\\DemoCam", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    RegQueryValueExA(key, "LiveFilters", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
}

class WineCameraTest : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CaptureTest::TearDown();
        CoUninitialize();
    }
};

TEST_F(WineCameraTest, FindsTheDemoCameraBuildsItsGraphAndLetsGoOfEverything) {
    DWORD before = LiveDemoFilters();
    SelectDevice("", "");
    if (!captureState.videoMoniker) GTEST_SKIP() << "the demo camera is not registered in this prefix";

    const CaptureState& s = captureState;
    ASSERT_TRUE(s.videoCaptureFilter);
    EXPECT_TRUE(s.builder && s.filterGraph);
    EXPECT_EQ(doubles::Narrow(s.videoFriendlyName), "Quendal KVX410RB PC Camera");
    // Wine's builder finds the capture pin's format control on the plain video type.
    EXPECT_TRUE(s.videoStreamConfig);
    EXPECT_TRUE(s.audioCaptureRelevant);
    EXPECT_FALSE(s.videoCompression);
    EXPECT_FALSE(s.crossbarRouter);
    EXPECT_FALSE(s.closedCaptionsAvailable);
    ComHolder<ISpecifyPropertyPages> pages;
    EXPECT_EQ(s.videoCaptureFilter->QueryInterface(IID_ISpecifyPropertyPages,
                                                   reinterpret_cast<void**>(pages.Receive())),
              S_OK);
    pages.Clear();
    EXPECT_EQ(LiveDemoFilters(), before + 1);

    TearDownGraph();
    ReleaseCaptureFilters();
    EXPECT_EQ(LiveDemoFilters(), before) << "the graph or the record kept the capture filter";
}

}  // namespace
