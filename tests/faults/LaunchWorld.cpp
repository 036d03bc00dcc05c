#include "LaunchWorld.h"

namespace faults {

// {0B7E51C2-5A0D-4C8E-8F31-2D6A94C0E517}
const CLSID cameraPageClsid = {0x0b7e51c2, 0x5a0d, 0x4c8e, {0x8f, 0x31, 0x2d, 0x6a, 0x94, 0xc0, 0xe5, 0x17}};

namespace {

LaunchWorld* world;
HWND const trayWindow = reinterpret_cast<HWND>(0x4242);
decltype(platform::MultiByteToWideChar) realMultiByteToWideChar;
decltype(platform::VarBstrCmp) realVarBstrCmp;
decltype(platform::SysAllocStringLen) realSysAllocStringLen;
decltype(platform::GetVersionExA) realGetVersionExA;

HRESULT WINAPI FakeFrame(HWND, UINT, UINT, LPCOLESTR, ULONG objectCount, LPUNKNOWN* objects, ULONG pageCount,
                         LPCLSID, LCID, DWORD, LPVOID) {
    const Shot shot = plan.Hit("OleCreatePropertyFrame");
    if (shot == Shot::Fail) return plan.Result();
    world->frames.push_back({objectCount == 1 ? objects[0] : nullptr, pageCount});
    return plan.Pass(shot, S_OK);
}

int WINAPI MultiByte(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out, int room) {
    if (plan.Hit("MultiByteToWideChar") == Shot::Fail) return 0;
    return realMultiByteToWideChar(codePage, flags, text, length, out, room);
}

HRESULT WINAPI Compare(BSTR left, BSTR right, LCID locale, ULONG flags) {
    if (plan.Hit("VarBstrCmp") == Shot::Fail) return plan.Result(VARCMP_NULL);
    return realVarBstrCmp(left, right, locale, flags);
}

BSTR WINAPI AllocString(const OLECHAR* text, UINT length) {
    if (plan.Hit("SysAllocStringLen") == Shot::Fail) return nullptr;
    return realSysAllocStringLen(text, length);
}

WINBOOL WINAPI Version(LPOSVERSIONINFOA info) {
    if (plan.Hit("GetVersionExA") == Shot::Fail) return FALSE;
    return realGetVersionExA(info);
}

DWORD WINAPI Profile(LPCSTR, LPCSTR, LPCSTR fallback, LPSTR out, DWORD size) {
    lstrcpynA(out, fallback, static_cast<int>(size));
    return static_cast<DWORD>(lstrlenA(out));
}

BOOL WINAPI Show(HWND, int) { return TRUE; }
BOOL WINAPI NotIconic(HWND) { return FALSE; }

}  // namespace

struct LaunchWorld::Seams {
    Seams()
        : frame(platform::OleCreatePropertyFrame, FakeFrame),
          multiByte(platform::MultiByteToWideChar, MultiByte),
          compare(platform::VarBstrCmp, Compare),
          alloc(platform::SysAllocStringLen, AllocString),
          version(platform::GetVersionExA, Version),
          profile(platform::GetProfileStringA, Profile),
          show(platform::ShowWindow, Show),
          iconic(platform::IsIconic, NotIconic) {}
    doubles::TaskMemWatch taskMem;
    FaultyCreation create;
    SeamOverride<decltype(platform::OleCreatePropertyFrame)> frame;
    SeamOverride<decltype(platform::MultiByteToWideChar)> multiByte;
    SeamOverride<decltype(platform::VarBstrCmp)> compare;
    SeamOverride<decltype(platform::SysAllocStringLen)> alloc;
    SeamOverride<decltype(platform::GetVersionExA)> version;
    SeamOverride<decltype(platform::GetProfileStringA)> profile;
    SeamOverride<decltype(platform::ShowWindow)> show;
    SeamOverride<decltype(platform::IsIconic)> iconic;
};

LaunchWorld::LaunchWorld()
    : devenum("devenum"),
      platformBuilder("platformBuilder"),
      graph("graph"),
      camera("cam"),
      captureOut("cam.capture", PINDIR_OUTPUT),
      vbiOut("cam.vbi", PINDIR_OUTPUT),
      analogIn("cam.analog", PINDIR_INPUT),
      crossbar("xbar", {PhysConn_Video_Composite, PhysConn_Video_SVideo}, {PhysConn_Video_VideoDecoder}),
      streamConfig("cam.format"),
      compression("cam.compression"),
      dialogs("cam.dialogs"),
      otherBag("other.bag", L"Some Other Camera"),
      otherDevice("other.moniker", &otherBag, static_cast<IBaseFilter*>(&camera)),
      cameraBag("cam.bag", L"QUENDAL KVX410RB PC CAMERA"),
      cameraDevice("cam.moniker", &cameraBag, static_cast<IBaseFilter*>(&camera)) {
    world = this;
    realMultiByteToWideChar = platform::MultiByteToWideChar;
    realVarBstrCmp = platform::VarBstrCmp;
    realSysAllocStringLen = platform::SysAllocStringLen;
    realGetVersionExA = platform::GetVersionExA;
    seams.reset(new Seams);

    registry.Register(CLSID_SystemDeviceEnum, static_cast<ICreateDevEnum*>(&devenum));
    registry.Register(CLSID_CaptureGraphBuilder2, static_cast<ICaptureGraphBuilder2*>(&platformBuilder));
    registry.Register(CLSID_FilterGraph, static_cast<IGraphBuilder*>(&graph));
    devenum.devices = {&otherDevice, &cameraDevice};

    captureOut.hasCategory = true;
    captureOut.category = PIN_CATEGORY_CAPTURE;
    vbiOut.hasCategory = true;
    vbiOut.category = PIN_CATEGORY_VBI;
    analogIn.hasCategory = true;
    analogIn.category = PIN_CATEGORY_ANALOGVIDEOIN;
    camera.AddPin(analogIn);
    camera.AddPin(captureOut);
    camera.AddPin(vbiOut);
    doubles::FakePin::Link(crossbar.Output(0), analogIn);
    camera.propertyPages = true;
    camera.pages = {cameraPageClsid};

    // The platform's builder finds the controls on the capture pin and the VBI pin.
    platformBuilder.onFindInterface = [this](const doubles::BuilderCall& c, void** out) -> HRESULT {
        IUnknown* found = nullptr;
        if (*c.iid == IID_IAMStreamConfig) found = static_cast<IAMStreamConfig*>(&streamConfig);
        if (*c.iid == IID_IAMVideoCompression && *c.type == MEDIATYPE_Video) found = &compression;
        if (*c.iid == IID_IAMVfwCaptureDialogs) found = &dialogs;
        if (!found) return E_NOINTERFACE;
        return found->QueryInterface(*c.iid, out);
    };
    platformBuilder.onFindPin = [this](const doubles::BuilderCall& c, IPin** out) -> HRESULT {
        if (!c.category || *c.category != PIN_CATEGORY_VBI) return E_FAIL;
        vbiOut.AddRef();
        *out = &vbiOut;
        return S_OK;
    };
    dialog.m_hWnd = trayWindow;
}

LaunchWorld::~LaunchWorld() {
    ForgetMonikers();
    ReleaseCaptureFilters();
    dialog.m_hWnd = nullptr;
    seams.reset();
    world = nullptr;
}

void LaunchWorld::Launch() {
    ResetConversionCodePageForTest();
    dialog.LaunchPropertyPages();
}

bool LaunchWorld::StateEmpty() const {
    const CaptureState& s = captureState;
    return !s.builder && !s.videoCompression && !s.vfwCaptureDialogs && !s.audioStreamConfig &&
           !s.videoStreamConfig && !s.videoCaptureFilter && !s.audioCaptureFilter && !s.filterGraph &&
           !s.crossbarRouter && !dialog.launchBusy;
}

int LaunchWorld::TaskMemOutstanding() const { return seams->taskMem.Outstanding(); }

void LaunchWorld::ForgetMonikers() {
    captureState.videoMoniker.Clear();
    captureState.audioMoniker.Clear();
}

}  // namespace faults
