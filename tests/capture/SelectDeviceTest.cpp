// Finding the camera by its friendly name, and adopting its moniker.
#include "CaptureWorld.h"

using namespace doubles;

namespace {

// Devices listed in order by the system device enumerator.
struct Devices {
    explicit Devices(Journal* j) : devenum("devenum", j) { registry.Register(CLSID_SystemDeviceEnum, &devenum); }
    FakeClassRegistry registry;
    FakeDeviceEnum devenum;
};

TEST_F(CaptureTest, SelectDeviceMatchesTheCameraNameWithoutRegardToCaseOnly) {
    const std::pair<const wchar_t*, bool> names[] = {
        {L"Quendal KVX410RB PC Camera", true},   {L"QUENDAL KVX410RB PC CAMERA", true},
        {L"quendal kvx410rb pc camera", true},   {L"Quendal KVX410RB PC Camera ", false},
        {L"Quendal KVX410RB PC Camera #2", false}};
    for (auto [name, matches] : names) {
        SCOPED_TRACE(Narrow(name));
        Devices devices(nullptr);
        FakePropertyBag bag("bag", name);
        FakeMoniker device("device", &bag);
        devices.devenum.Add(CLSID_VideoInputDeviceCategory, &device);

        EXPECT_TRUE(SelectDevice("", ""));

        EXPECT_EQ(captureState.videoMoniker.Get(), matches ? static_cast<IMoniker*>(&device) : nullptr);
        EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
    }
}

TEST_F(CaptureTest, SelectDeviceTakesTheFirstMatchAndSkipsAnUnreadableDevice) {
    Journal j;
    Devices devices(&j);
    FakePropertyBag unreadableBag("unreadable.bag", L"Quendal KVX410RB PC Camera", &j);
    unreadableBag.readResult = E_FAIL;
    FakePropertyBag firstBag("first.bag", L"Quendal KVX410RB PC Camera", &j);
    FakePropertyBag secondBag("second.bag", L"quendal kvx410rb pc camera", &j);
    FakeMoniker unreadable("unreadable", &unreadableBag, nullptr, &j), first("first", &firstBag, nullptr, &j),
        second("second", &secondBag, nullptr, &j);
    for (FakeMoniker* m : {&unreadable, &first, &second}) devices.devenum.Add(CLSID_VideoInputDeviceCategory, m);

    // Whatever the profile names, the camera is chosen by its own name.
    EXPECT_TRUE(SelectDevice("Other Camera", "Some Microphone"));

    EXPECT_EQ(captureState.videoMoniker.Get(), static_cast<IMoniker*>(&first));
    EXPECT_EQ(j.IndexOf("unreadable.BindToObject"), -1) << j.Text();
    EXPECT_NE(j.IndexOf("first.BindToObject"), -1) << j.Text();
    EXPECT_EQ(j.IndexOf("second.BindToStorage"), -1) << j.Text();
    EXPECT_EQ(j.IndexOf("second.BindToObject"), -1) << j.Text();
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
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
