#include "LaunchWorld.h"

namespace faults {

namespace {

LaunchWorld* world;
// {0B7E51C2-5A0D-4C8E-8F31-2D6A94C0E517}
const CLSID cameraPage = {0x0b7e51c2, 0x5a0d, 0x4c8e, {0x8f, 0x31, 0x2d, 0x6a, 0x94, 0xc0, 0xe5, 0x17}};

HRESULT WINAPI FakeFrame(HWND, UINT, UINT, LPCOLESTR, ULONG count, LPUNKNOWN* objects, ULONG pages, LPCLSID, LCID,
                     DWORD, LPVOID) {
    world->frames.push_back({count == 1 ? objects[0] : nullptr, pages});
    return S_OK;
}
DWORD WINAPI Profile(LPCSTR, LPCSTR, LPCSTR fallback, LPSTR out, DWORD size) {
    lstrcpynA(out, fallback, static_cast<int>(size));
    return static_cast<DWORD>(lstrlenA(out));
}
BOOL WINAPI Show(HWND, int) { return TRUE; }
BOOL WINAPI NotIconic(HWND) { return FALSE; }

}  // namespace

struct LaunchWorld::Seams {
    SeamOverride<decltype(platform::OleCreatePropertyFrame)> frame{platform::OleCreatePropertyFrame, FakeFrame};
    SeamOverride<decltype(platform::GetProfileStringA)> profile{platform::GetProfileStringA, Profile};
    SeamOverride<decltype(platform::ShowWindow)> show{platform::ShowWindow, Show};
    SeamOverride<decltype(platform::IsIconic)> iconic{platform::IsIconic, NotIconic};
};

LaunchWorld::LaunchWorld()
    : seams(new Seams), platformBuilder("platformBuilder"), camera("cam"), captureOut("cam.capture", PINDIR_OUTPUT),
      vbiOut("cam.vbi", PINDIR_OUTPUT), analogIn("cam.analog", PINDIR_INPUT),
      crossbar("xbar", {{PhysConn_Video_Composite}, {PhysConn_Video_SVideo}}, {{PhysConn_Video_VideoDecoder}}),
      streamConfig("cam.format"), compression("cam.compression"), dialogs("cam.dialogs"),
      otherBag("other.bag", L"Some Other Camera"), cameraBag("cam.bag", L"QUENDAL KVX410RB PC CAMERA"),
      otherDevice("other.moniker", &otherBag, static_cast<IBaseFilter*>(&camera)),
      cameraDevice("cam.moniker", &cameraBag, static_cast<IBaseFilter*>(&camera)) {
    world = this;
    registry.Register(CLSID_SystemDeviceEnum, &devenum);
    registry.Register(CLSID_CaptureGraphBuilder2, &platformBuilder);
    registry.Register(CLSID_FilterGraph, &graph);
    devenum.Add(CLSID_VideoInputDeviceCategory, &otherDevice);
    devenum.Add(CLSID_VideoInputDeviceCategory, &cameraDevice);

    const std::pair<doubles::FakePin*, GUID> categories[] = {
        {&analogIn, PIN_CATEGORY_ANALOGVIDEOIN}, {&captureOut, PIN_CATEGORY_CAPTURE}, {&vbiOut, PIN_CATEGORY_VBI}};
    for (auto [pin, category] : categories) {
        pin->hasCategory = true;
        pin->category = category;
        camera.AddPin(*pin);
    }
    doubles::FakePin::Link(crossbar.Output(0), analogIn);
    camera.propertyPages = true;
    camera.pages = {cameraPage};

    platformBuilder.onFindInterface = [this](const doubles::BuilderCall& c, void** out) -> HRESULT {
        IUnknown* found = nullptr;
        if (*c.iid == IID_IAMStreamConfig) found = static_cast<IAMStreamConfig*>(&streamConfig);
        if (*c.iid == IID_IAMVideoCompression && *c.type == MEDIATYPE_Video) found = &compression;
        if (*c.iid == IID_IAMVfwCaptureDialogs) found = &dialogs;
        return found ? found->QueryInterface(*c.iid, out) : E_NOINTERFACE;
    };
    platformBuilder.onFindPin = [this](const doubles::BuilderCall& c, IPin** out) -> HRESULT {
        if (!c.category || *c.category != PIN_CATEGORY_VBI) return E_FAIL;
        return vbiOut.QueryInterface(IID_IPin, reinterpret_cast<void**>(out));
    };
    dialog.m_hWnd = reinterpret_cast<HWND>(0x4242);
}

LaunchWorld::~LaunchWorld() {
    ReleaseCaptureFilters();
    dialog.m_hWnd = nullptr;
    world = nullptr;
}

void LaunchWorld::Launch() {
    ResetConversionCodePageForTest();
    dialog.LaunchPropertyPages();
    captureState.videoMoniker.Clear();
    captureState.audioMoniker.Clear();
}

bool LaunchWorld::StateEmpty() const {
    const CaptureState& s = captureState;
    return !s.builder && !s.videoCompression && !s.vfwCaptureDialogs && !s.audioStreamConfig &&
           !s.videoStreamConfig && !s.videoCaptureFilter && !s.audioCaptureFilter && !s.filterGraph &&
           !s.crossbarRouter && !dialog.launchBusy;
}

}  // namespace faults
