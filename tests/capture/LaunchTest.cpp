// The launch from the tray: the guard against re-entry, the frame's arguments, and an
// empty record after every path.
#include "CaptureWorld.h"
#include "app/TrayDialog.h"
#include <functional>
#include <map>

using namespace doubles;

namespace {

// {6E1B2A4C-0D1F-4E49-9C3B-51A7E2F40C11}
const CLSID pageClsid = {0x6e1b2a4c, 0x0d1f, 0x4e49, {0x9c, 0x3b, 0x51, 0xa7, 0xe2, 0xf4, 0x0c, 0x11}};
HWND const trayWindow = reinterpret_cast<HWND>(0x4242);

struct FrameCall {
    HWND owner;
    UINT x, y;
    LPCOLESTR caption;
    std::vector<IUnknown*> objects;
    std::vector<CLSID> pages;
    LCID locale;
    DWORD reserved;
    LPVOID reservedPointer;
};

// What the seams saw; one per test.
struct Seen {
    std::vector<FrameCall> frames;
    std::vector<std::string> profileReads;
    std::map<std::string, std::string> profile;
    std::vector<int> showCommands;
    std::function<void()> duringFrame;
};
Seen* seen;

HRESULT WINAPI FakeFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount, LPUNKNOWN* objects,
                         ULONG pageCount, LPCLSID pages, LCID locale, DWORD reserved, LPVOID reservedPointer) {
    seen->frames.push_back({owner, x, y, caption, std::vector<IUnknown*>(objects, objects + objectCount),
                            std::vector<CLSID>(pages, pages + pageCount), locale, reserved, reservedPointer});
    if (seen->duringFrame) seen->duringFrame();
    return S_OK;
}

DWORD WINAPI FakeProfile(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size) {
    seen->profileReads.push_back(std::string(section) + "/" + key + "/" + fallback + "/" + std::to_string(size));
    std::string value = seen->profile.count(key) ? seen->profile[key] : fallback;
    lstrcpynA(out, value.c_str(), static_cast<int>(size));
    return static_cast<DWORD>(lstrlenA(out));
}

BOOL WINAPI FakeShowWindow(HWND, int command) {
    seen->showCommands.push_back(command);
    return TRUE;
}
BOOL WINAPI NotIconic(HWND) { return FALSE; }

// The tray window and the camera as the platform lists it, with one page of its own.
struct Launch {
    Launch()
        : frame(platform::OleCreatePropertyFrame, FakeFrame),
          profile(platform::GetProfileStringA, FakeProfile),
          show(platform::ShowWindow, FakeShowWindow),
          iconic(platform::IsIconic, NotIconic),
          devenum("devenum", &journal),
          world(&journal) {
        seen = &state;
        world.registry.Register(CLSID_SystemDeviceEnum, &devenum);
        devenum.Add(CLSID_VideoInputDeviceCategory, &world.moniker);
        world.camera.propertyPages = true;
        world.camera.pages = {pageClsid};
        dialog.m_hWnd = trayWindow;
    }
    ~Launch() {
        dialog.m_hWnd = nullptr;
        seen = nullptr;
    }
    Seen state;
    SeamOverride<decltype(platform::OleCreatePropertyFrame)> frame;
    SeamOverride<decltype(platform::GetProfileStringA)> profile;
    SeamOverride<decltype(platform::ShowWindow)> show;
    SeamOverride<decltype(platform::IsIconic)> iconic;
    Journal journal;
    FakeDeviceEnum devenum;
    CameraWorld world;
    TrayDialog dialog;
};

void ExpectGraphGone() {
    EXPECT_FALSE(captureState.videoCaptureFilter);
    EXPECT_FALSE(captureState.filterGraph);
    EXPECT_FALSE(captureState.builder);
    EXPECT_FALSE(captureState.crossbarRouter);
}

using LaunchPropertyPagesTest = CaptureTest;

TEST_F(LaunchPropertyPagesTest, ShowsTheCameraPagesOnceAndEmptiesTheRecordAfterwards) {
    Launch l;
    TaskMemWatch taskMem;
    l.state.profile = {{"CaptureFile", "C:\\capture.avi"}, {"VideoDevice2", "Other Camera"},
                       {"AudioDevice2", "Some Microphone"}};
    IBaseFilter* filterInFrame = nullptr;
    l.state.duringFrame = [&] {
        if (l.state.frames.size() > 1) return;  // a second frame is the fault; no deeper
        filterInFrame = captureState.videoCaptureFilter;
        IGraphBuilder* graph = captureState.filterGraph;
        EXPECT_TRUE(l.dialog.launchBusy);
        // A double-click while the frame is open: nothing more opens, nothing is disturbed.
        l.dialog.LaunchPropertyPages();
        EXPECT_EQ(l.state.frames.size(), 1u);
        EXPECT_EQ(captureState.videoCaptureFilter.Get(), filterInFrame);
        EXPECT_EQ(captureState.filterGraph.Get(), graph);
    };

    l.dialog.LaunchPropertyPages();

    ASSERT_EQ(l.state.frames.size(), 1u);
    const FrameCall& f = l.state.frames[0];
    EXPECT_EQ(f.owner, trayWindow);
    EXPECT_EQ(f.x, 30u);
    EXPECT_EQ(f.y, 30u);
    EXPECT_EQ(f.caption, nullptr);
    ASSERT_EQ(f.objects.size(), 1u);
    EXPECT_EQ(f.objects[0], static_cast<IUnknown*>(static_cast<IBaseFilter*>(&l.world.camera)));
    EXPECT_EQ(filterInFrame, static_cast<IBaseFilter*>(&l.world.camera));
    EXPECT_EQ(f.pages, std::vector<CLSID>{pageClsid});
    EXPECT_EQ(f.locale, 0u);
    EXPECT_EQ(f.reserved, 0u);
    EXPECT_EQ(f.reservedPointer, nullptr);
    EXPECT_EQ(taskMem.Outstanding(), 0);

    EXPECT_EQ(l.state.profileReads, (std::vector<std::string>{"velta/CaptureFile//260", "velta/VideoDevice2//1024",
                                                              "velta/AudioDevice2//1024"}));
    EXPECT_STREQ(captureState.captureFileName, "C:\\capture.avi");
    EXPECT_EQ(captureState.ownerWindow, trayWindow);
    EXPECT_EQ(l.state.showCommands, std::vector<int>{SW_HIDE});
    EXPECT_EQ(l.dialog.showState, 1);
    EXPECT_FALSE(l.dialog.launchBusy);
    ExpectGraphGone();

    EmptyCaptureState();
    EXPECT_DOUBLES_BALANCED();
}

struct QuietCase {
    const char* what;
    std::function<void(Launch&)> arrange;
    std::function<void(Launch&)> mend;
};

const QuietCase quietCases[] = {
    {"no camera listed",
     [](Launch& l) { l.devenum.categories.clear(); },
     [](Launch& l) { l.devenum.Add(CLSID_VideoInputDeviceCategory, &l.world.moniker); }},
    {"graph refuses the camera",
     [](Launch& l) { l.world.graph.addFilterResults = {E_FAIL}; },
     [](Launch&) {}},
    {"no property pages interface",
     [](Launch& l) { l.world.camera.Hide(IID_ISpecifyPropertyPages); },
     [](Launch& l) { l.world.camera.hidden.clear(); }},
    // Its count and array cannot be trusted then: no frame.
    {"GetPages fails",
     [](Launch& l) { l.world.camera.getPagesResult = E_OUTOFMEMORY; },
     [](Launch& l) { l.world.camera.getPagesResult = S_OK; }},
};

TEST_F(LaunchPropertyPagesTest, QuietPathsShowNothingClearTheFlagAndALaterLaunchWorks) {
    for (const QuietCase& c : quietCases) {
        SCOPED_TRACE(c.what);
        {
            Launch l;
            TaskMemWatch taskMem;
            c.arrange(l);

            l.dialog.LaunchPropertyPages();

            EXPECT_TRUE(l.state.frames.empty());
            EXPECT_FALSE(l.dialog.launchBusy);
            EXPECT_EQ(l.state.showCommands, std::vector<int>{SW_HIDE});
            ExpectGraphGone();

            c.mend(l);
            l.dialog.LaunchPropertyPages();
            EXPECT_EQ(l.state.frames.size(), 1u);
            EXPECT_FALSE(l.dialog.launchBusy);
            ExpectGraphGone();
            EXPECT_EQ(taskMem.Outstanding(), 0);

            EmptyCaptureState();
            EXPECT_DOUBLES_BALANCED();
        }
    }
}

}  // namespace
