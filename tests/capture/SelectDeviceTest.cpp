// Finding the camera by its friendly name, and adopting its moniker.
#include "CaptureWorld.h"
#include <deque>

using namespace doubles;

namespace {

// Listed before the camera: an unreadable device with the right name, and names that are
// not quite it. After it, a second match that must never be bound.
TEST_F(CaptureTest, SelectDeviceTakesTheFirstDeviceNamedAsTheCameraInAnyCase) {
    for (const wchar_t* name : {L"Quendal KVX410RB PC Camera", L"QUENDAL KVX410RB PC CAMERA", L"quendal kvx410rb pc camera"}) {
        SCOPED_TRACE(Narrow(name));
        Journal j;
        FakeClassRegistry registry;
        FakeDeviceEnum devenum;
        registry.Register(CLSID_SystemDeviceEnum, &devenum);
        const std::pair<const char*, const wchar_t*> listed[] = {
            {"unreadable", L"Quendal KVX410RB PC Camera"}, {"blank", L"Quendal KVX410RB PC Camera "},
            {"suffix", L"Quendal KVX410RB PC Camera #2"}, {"camera", name}, {"second", L"quendal kvx410rb pc camera"}};
        std::deque<FakePropertyBag> bags;
        std::deque<FakeMoniker> monikers;
        for (auto [device, friendlyName] : listed) {
            bags.emplace_back(std::string(device) + ".bag", friendlyName);
            devenum.Add(CLSID_VideoInputDeviceCategory, &monikers.emplace_back(device, &bags.back(), nullptr, &j));
        }
        bags[0].readResult = E_FAIL;

        // Whatever the profile names, the camera is chosen by its own name.
        EXPECT_TRUE(SelectDevice("Other Camera", "Some Microphone"));

        EXPECT_EQ(captureState.videoMoniker.Get(), static_cast<IMoniker*>(&monikers[3]));
        EXPECT_EQ(j.Text().find("second."), std::string::npos) << j.Text();
        EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
    }
}

TEST_F(CaptureTest, ChooseDevicesBuildsOnceForTheSameMonikersAndAgainForANewOne) {
    CameraWorld w;
    FakePropertyBag otherBag("other.bag", L"Other Camera");
    FakeFilter otherFilter("otherFilter");
    FakeMoniker other("other", &otherBag, static_cast<IBaseFilter*>(&otherFilter));

    EXPECT_TRUE(ChooseDevices(&w.moniker, nullptr));
    EXPECT_TRUE(ChooseDevices(&w.moniker, nullptr));
    EXPECT_EQ(w.registry.CallsFor(CLSID_FilterGraph), 1);
    EXPECT_EQ(captureState.videoCaptureFilter.Get(), static_cast<IBaseFilter*>(&w.camera));

    EXPECT_TRUE(ChooseDevices(&other, nullptr));
    EXPECT_EQ(w.registry.CallsFor(CLSID_FilterGraph), 2);
    EXPECT_EQ(captureState.videoCaptureFilter.Get(), static_cast<IBaseFilter*>(&otherFilter));
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
}

}  // namespace
