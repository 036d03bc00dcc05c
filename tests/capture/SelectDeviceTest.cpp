// Finding the camera by its friendly name, and adopting its moniker.
#include "CaptureWorld.h"

using namespace doubles;

namespace {

using SelectDeviceTest = CaptureTest;
using ChooseDevicesTest = CaptureTest;

IMoniker* AsMoniker(FakeMoniker& m) { return &m; }

// Devices listed in order; none binds to a filter, so only the choice is seen.
struct Devices {
    explicit Devices(Journal* j) : devenum("devenum", j) {
        registry.Register(CLSID_SystemDeviceEnum, &devenum);
    }
    void Add(FakeMoniker& m) { devenum.Add(CLSID_VideoInputDeviceCategory, &m); }
    FakeClassRegistry registry;
    FakeDeviceEnum devenum;
};

struct NameCase {
    const wchar_t* friendlyName;
    bool matches;
};

const NameCase names[] = {
    {L"Quendal KVX410RB PC Camera", true},
    {L"QUENDAL KVX410RB PC CAMERA", true},
    {L"quendal kvx410rb pc camera", true},
    {L"Quendal KVX410RB PC Camera ", false},
    {L"Quendal KVX410RB PC Camera #2", false},
    {L"Quendal KVX410RB", false},
    {L"", false},
};

TEST_F(SelectDeviceTest, MatchesTheCameraNameWithoutRegardToCaseOnly) {
    for (const NameCase& c : names) {
        SCOPED_TRACE(Narrow(c.friendlyName));
        Journal j;
        Devices devices(&j);
        FakePropertyBag bag("bag", c.friendlyName, &j);
        FakeMoniker device("device", &bag, nullptr, &j);
        devices.Add(device);

        EXPECT_TRUE(SelectDevice("", ""));

        EXPECT_EQ(captureState.videoMoniker.Get(), c.matches ? AsMoniker(device) : nullptr);
        EXPECT_FALSE(captureState.audioMoniker);
        EmptyCaptureState();
        EXPECT_DOUBLES_BALANCED();
    }
}

TEST_F(SelectDeviceTest, FirstMatchWinsAndUnreadableDevicesAreSkipped) {
    Journal j;
    Devices devices(&j);
    FakePropertyBag brokenBag("broken.bag", L"Quendal KVX410RB PC Camera", &j);
    FakeMoniker broken("broken", &brokenBag, nullptr, &j);
    broken.bindToStorageResult = E_FAIL;
    FakePropertyBag unreadableBag("unreadable.bag", L"Quendal KVX410RB PC Camera", &j);
    unreadableBag.readResult = E_FAIL;
    FakeMoniker unreadable("unreadable", &unreadableBag, nullptr, &j);
    FakePropertyBag otherBag("other.bag", L"Other Camera", &j);
    FakeMoniker other("other", &otherBag, nullptr, &j);
    FakePropertyBag firstBag("first.bag", L"Quendal KVX410RB PC Camera", &j);
    FakeMoniker first("first", &firstBag, nullptr, &j);
    FakePropertyBag secondBag("second.bag", L"quendal kvx410rb pc camera", &j);
    FakeMoniker second("second", &secondBag, nullptr, &j);
    for (FakeMoniker* m : {&broken, &unreadable, &other, &first, &second}) devices.Add(*m);

    // Whatever the profile names, the camera is chosen by its own name.
    EXPECT_TRUE(SelectDevice("Other Camera", "Some Microphone"));

    EXPECT_EQ(captureState.videoMoniker.Get(), AsMoniker(first));
    EXPECT_EQ(j.IndexOf("second.BindToStorage"), -1) << j.Text();
    EXPECT_EQ(j.IndexOf("second.BindToObject"), -1) << j.Text();
    EXPECT_NE(j.IndexOf("first.BindToObject"), -1) << j.Text();
    EmptyCaptureState();
    EXPECT_DOUBLES_BALANCED();
}

TEST_F(SelectDeviceTest, NoEnumeratorOrNoDevicesChoosesNothing) {
    Journal j;
    {
        FakeClassRegistry registry;  // no device enumerator at all
        EXPECT_FALSE(SelectDevice("", ""));
    }
    Devices devices(&j);  // an empty category hands out no enumerator
    EXPECT_FALSE(SelectDevice("", ""));
    EXPECT_FALSE(captureState.videoMoniker);
    EXPECT_EQ(devices.registry.CallsFor(CLSID_CaptureGraphBuilder2), 0);
    EXPECT_DOUBLES_BALANCED();
}

TEST_F(ChooseDevicesTest, SameMonikersInitialiseOnceAndANewOneRebuilds) {
    Journal j;
    CameraWorld world(&j);
    FakePropertyBag otherBag("other.bag", L"Other Camera", &j);
    FakeFilter otherFilter("otherFilter", &j);
    FakeMoniker other("other", &otherBag, static_cast<IBaseFilter*>(&otherFilter), &j);

    EXPECT_TRUE(ChooseDevices(&world.moniker, nullptr));
    EXPECT_TRUE(ChooseDevices(&world.moniker, nullptr));
    EXPECT_EQ(world.registry.CallsFor(CLSID_FilterGraph), 1);
    EXPECT_EQ(captureState.videoCaptureFilter.Get(), static_cast<IBaseFilter*>(&world.camera));

    EXPECT_TRUE(ChooseDevices(&other, nullptr));
    EXPECT_EQ(world.registry.CallsFor(CLSID_FilterGraph), 2);
    EXPECT_EQ(captureState.videoMoniker.Get(), AsMoniker(other));
    EXPECT_EQ(captureState.videoCaptureFilter.Get(), static_cast<IBaseFilter*>(&otherFilter));

    // Nothing for nothing: null against an empty record builds nothing.
    EmptyCaptureState();
    EXPECT_TRUE(ChooseDevices(nullptr, nullptr));
    EXPECT_EQ(world.registry.CallsFor(CLSID_FilterGraph), 2);
    EXPECT_DOUBLES_BALANCED();
}

}  // namespace
