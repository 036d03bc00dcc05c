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

struct Frame {
    HWND owner;
    UINT x, y;
    LPCOLESTR caption;
    std::vector<IUnknown*> objects;
    std::vector<CLSID> pages;
    LCID locale;
};
std::vector<Frame> frames;
std::function<void()> duringFrame;

HRESULT WINAPI FakeFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG count, LPUNKNOWN* objects,
                         ULONG pageCount, LPCLSID pages, LCID locale, DWORD, LPVOID) {
    frames.push_back({owner, x, y, caption, {objects, objects + count}, {pages, pages + pageCount}, locale});
    if (duringFrame) duringFrame();
    return S_OK;
}
BOOL WINAPI Show(HWND, int) { return TRUE; }
BOOL WINAPI NotIconic(HWND) { return FALSE; }

// The tray window and the camera as the platform lists it, with one page of its own.
struct Launch {
    Launch() : devenum("devenum") {
        frames.clear();
        duringFrame = nullptr;
        w.registry.Register(CLSID_SystemDeviceEnum, &devenum);
        devenum.Add(CLSID_VideoInputDeviceCategory, &w.moniker);
        w.camera.propertyPages = true;
        w.camera.pages = {page};
        dialog.m_hWnd = trayWindow;
    }
    ~Launch() { dialog.m_hWnd = nullptr; }
    bool GraphGone() const {
        return !captureState.videoCaptureFilter && !captureState.filterGraph && !captureState.builder &&
               !captureState.crossbarRouter && !dialog.launchBusy;
    }
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
        if (frames.size() > 1) return;  // a second frame is the fault; no deeper
        EXPECT_TRUE(l.dialog.launchBusy);
        IBaseFilter* filter = captureState.videoCaptureFilter;
        // A double-click while the frame is open: nothing more opens, nothing is disturbed.
        l.dialog.LaunchPropertyPages();
        EXPECT_EQ(frames.size(), 1u);
        EXPECT_EQ(captureState.videoCaptureFilter.Get(), filter);
    };

    l.dialog.LaunchPropertyPages();

    ASSERT_EQ(frames.size(), 1u);
    const Frame& f = frames[0];
    EXPECT_EQ(f.owner, trayWindow);
    EXPECT_EQ(f.x, 30u);
    EXPECT_EQ(f.y, 30u);
    EXPECT_EQ(f.caption, nullptr);
    EXPECT_EQ(f.objects, std::vector<IUnknown*>{static_cast<IBaseFilter*>(&l.w.camera)});
    EXPECT_EQ(f.pages, std::vector<CLSID>{page});
    EXPECT_EQ(f.locale, 0u);
    EXPECT_EQ(l.taskMem.Outstanding(), 0);
    EXPECT_TRUE(l.GraphGone());
    EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
}

// Paths that show nothing; each then mended, and the next launch must show the frame.
const std::pair<std::function<void(Launch&)>, std::function<void(Launch&)>> quietPaths[] = {
    {[](Launch& l) { l.devenum.categories.clear(); },
     [](Launch& l) { l.devenum.Add(CLSID_VideoInputDeviceCategory, &l.w.moniker); }},
    {[](Launch& l) { l.w.graph.addFilterResults = {E_FAIL}; }, [](Launch&) {}},
    {[](Launch& l) { l.w.camera.Hide(IID_ISpecifyPropertyPages); }, [](Launch& l) { l.w.camera.hidden.clear(); }},
    // Its count and array cannot be trusted then: no frame.
    {[](Launch& l) { l.w.camera.getPagesResult = E_OUTOFMEMORY; }, [](Launch& l) { l.w.camera.getPagesResult = S_OK; }},
};

TEST_F(CaptureTest, LaunchOnAQuietPathShowsNothingClearsTheGuardAndTheNextLaunchWorks) {
    for (const auto& [arrange, mend] : quietPaths) {
        SCOPED_TRACE(&arrange - &quietPaths[0].first);
        Launch l;
        arrange(l);
        l.dialog.LaunchPropertyPages();
        EXPECT_TRUE(frames.empty());
        EXPECT_TRUE(l.GraphGone());

        mend(l);
        l.dialog.LaunchPropertyPages();
        EXPECT_EQ(frames.size(), 1u);
        EXPECT_TRUE(l.GraphGone());
        EXPECT_EQ(l.taskMem.Outstanding(), 0);
        EXPECT_RECORD_EMPTIED_AND_DOUBLES_BALANCED();
    }
}

}  // namespace
