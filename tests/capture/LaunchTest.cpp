// The launch from the tray: the guard against re-entry, the frame's arguments, and an
// empty record after every path.
#include "CaptureWorld.h"
#include "app/TrayDialog.h"
#include <functional>

using namespace doubles;

namespace {

// {6E1B2A4C-0D1F-4E49-9C3B-51A7E2F40C11}
const CLSID page = {0x6e1b2a4c, 0x0d1f, 0x4e49, {0x9c, 0x3b, 0x51, 0xa7, 0xe2, 0xf4, 0x0c, 0x11}};
HWND const trayWindow = reinterpret_cast<HWND>(0x4242);

int frames;
IUnknown* camera;  // the one object every frame must show
std::function<void()> duringFrame;

// The frame's arguments as the platform is given them, for every frame opened.
HRESULT WINAPI FakeFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG count, LPUNKNOWN* objects,
                         ULONG pageCount, LPCLSID pages, LCID locale, DWORD, LPVOID) {
    ++frames;
    EXPECT_EQ(owner, trayWindow);
    EXPECT_TRUE(x == 30 && y == 30 && !caption && locale == 0);
    EXPECT_EQ(std::vector<IUnknown*>(objects, objects + count), std::vector<IUnknown*>{camera});
    EXPECT_EQ(std::vector<CLSID>(pages, pages + pageCount), std::vector<CLSID>{page});
    if (duringFrame) duringFrame();
    return S_OK;
}
BOOL WINAPI Show(HWND, int) { return TRUE; }
BOOL WINAPI NotIconic(HWND) { return FALSE; }

// The tray window and the camera as the platform lists it, with one page of its own.
struct Launch {
    Launch() : devenum("devenum") {
        frames = 0;
        camera = static_cast<IBaseFilter*>(&w.camera);
        duringFrame = nullptr;
        w.registry.Register(CLSID_SystemDeviceEnum, &devenum);
        devenum.Add(CLSID_VideoInputDeviceCategory, &w.moniker);
        w.camera.propertyPages = true;
        w.camera.pages = {page};
        dialog.m_hWnd = trayWindow;
    }
    ~Launch() { dialog.m_hWnd = nullptr; }
    bool GraphGone() const { return !GraphHeld() && !dialog.launchBusy; }
    SeamOverride<decltype(platform::OleCreatePropertyFrame)> frame{platform::OleCreatePropertyFrame, FakeFrame};
    SeamOverride<decltype(platform::ShowWindow)> show{platform::ShowWindow, Show};
    SeamOverride<decltype(platform::IsIconic)> iconic{platform::IsIconic, NotIconic};
    TaskMemWatch taskMem;
    FakeDeviceEnum devenum;
    CameraWorld w;
    TrayDialog dialog;
};

TEST_F(CaptureTest, LaunchShowsTheCameraPagesOnceAndEmptiesTheRecordAfterwards) {
    Launch l;
    duringFrame = [&] {
        if (frames > 1) return;  // a second frame is the fault; no deeper
        EXPECT_TRUE(l.dialog.launchBusy);
        IBaseFilter* filter = captureState.videoCaptureFilter;
        // A double-click while the frame is open: nothing more opens, nothing is disturbed.
        l.dialog.LaunchPropertyPages();
        EXPECT_EQ(frames, 1);
        EXPECT_EQ(captureState.videoCaptureFilter.Get(), filter);
    };

    l.dialog.LaunchPropertyPages();

    EXPECT_EQ(frames, 1);
    EXPECT_EQ(l.taskMem.Outstanding(), 0);
    EXPECT_TRUE(l.GraphGone());
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
}

// Paths that show nothing, each arranged quiet and then mended: the next launch must work.
const std::function<void(Launch&, bool quiet)> quietPaths[] = {
    [](Launch& l, bool quiet) { quiet ? l.devenum.categories.clear() : l.devenum.Add(CLSID_VideoInputDeviceCategory, &l.w.moniker); },
    [](Launch& l, bool quiet) { l.w.graph.addFilterResults = {quiet ? E_FAIL : S_OK}; },
    [](Launch& l, bool quiet) { quiet ? l.w.camera.Hide(IID_ISpecifyPropertyPages) : l.w.camera.hidden.clear(); },
    // Its count and array cannot be trusted then: no frame.
    [](Launch& l, bool quiet) { l.w.camera.getPagesResult = quiet ? E_OUTOFMEMORY : S_OK; },
};

TEST_F(CaptureTest, LaunchOnAQuietPathShowsNothingClearsTheGuardAndTheNextLaunchWorks) {
    for (size_t i = 0; i < std::size(quietPaths); ++i) {
        SCOPED_TRACE(i);
        Launch l;
        for (bool quiet : {true, false}) {
            quietPaths[i](l, quiet);
            l.dialog.LaunchPropertyPages();
            EXPECT_EQ(frames, quiet ? 0 : 1);
            EXPECT_TRUE(l.GraphGone());
        }
        EXPECT_EQ(l.taskMem.Outstanding(), 0);
        EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
    }
}

}  // namespace
