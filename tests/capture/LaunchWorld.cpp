#include "capture/LaunchWorld.h"

#include <gtest/gtest.h>

#include "doubles/Hooks.h"
#include "crossbar/CrossbarRouter.h"

using namespace doubles;

namespace {

const CLSID cameraClass = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x01}};
const CLSID otherClass = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x02}};
const CLSID cameraPage = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x03}};

LaunchWorld* world;

HRESULT WINAPI Frame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG count, LPUNKNOWN* objects, ULONG pages,
                     LPCLSID ids, LCID locale, DWORD, LPVOID) {
    const CaptureState& s = captureState;
    char text[512];
    snprintf(text, sizeof text, "owner %s at %u,%u caption %ls objects %lu:%s pages %lu:%s locale %lu device %ls "
             "routes %ld captions %d format %s", owner == world->dialog.m_hWnd ? "tray" : "other", x, y,
             caption ? caption : L"-", count, NameOf(objects[0], "platform").c_str(), pages,
             pages && ids[0] == cameraPage ? "camera" : "other", locale, s.videoFriendlyName,
             s.videoInputCount, s.closedCaptionsAvailable, NameOf(s.videoStreamConfig, "platform").c_str());
    world->frames.push_back(text);
    world->dialog.LaunchPropertyPages();  // the frame's own loop lets a double-click through
    return S_OK;
}

}  // namespace

struct LaunchWorld::Camera {
    FakePin capture{"cam.capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE}, vbi{"cam.vbi", PINDIR_OUTPUT, PIN_CATEGORY_VBI},
        analog{"cam.analog", PINDIR_INPUT, PIN_CATEGORY_ANALOGVIDEOIN};
    FakeFilter filter{"cam", capture, vbi, analog}, other{"other"};
    FakeCrossbar crossbar{"xbar", {PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Audio_Line}};
    FakeStreamConfig format{"cam.format"};
    ClassObject cameraObject{cameraClass, static_cast<IBaseFilter*>(&filter)};
    ClassObject otherObject{otherClass, static_cast<IBaseFilter*>(&other)};
    Device devices[3] = {{CLSID_VideoInputDeviceCategory, L"navolet test 1", L"Quendal KVX410RB PC Camera 2", otherClass},
                         {CLSID_VideoInputDeviceCategory, L"navolet test 2", L"QUENDAL KVX410RB PC CAMERA", cameraClass},
                         {CLSID_VideoInputDeviceCategory, L"navolet test 3", L"Quendal KVX410RB PC Camera", cameraClass}};
    Camera() {
        capture.mediaTypes = {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24}};
        capture.Expose(IID_IAMStreamConfig, static_cast<IAMStreamConfig*>(&format));
        filter.pages = {cameraPage};
        crossbar.Output().peer = &analog;
        analog.peer = &crossbar.Output();
    }
};

LaunchWorld::LaunchWorld(bool demoCamera) {
    world = this;
    ReleaseCaptureFilters();
    captureState = CaptureState{};
    if (!demoCamera) camera.reset(new Camera);
    dialog.m_hWnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    platform::OleCreatePropertyFrame = &Frame;
}

LaunchWorld::~LaunchWorld() {
    platform::OleCreatePropertyFrame = &::OleCreatePropertyFrame;
    DestroyWindow(dialog.m_hWnd);
    dialog.m_hWnd = nullptr;
    world = nullptr;
}

void LaunchWorld::Launch() {
    ResetConversionCodePageForTest();
    dialog.LaunchPropertyPages();
    captureState.videoMoniker.Clear();
    captureState.audioMoniker.Clear();
}

std::string LaunchWorld::Left() const {
    const CaptureState& s = captureState;
    std::string left = hooks::Left();
    if (s.builder || s.filterGraph || s.videoCaptureFilter || s.audioCaptureFilter || s.crossbarRouter ||
        s.videoCompression || s.videoStreamConfig || s.audioStreamConfig || s.vfwCaptureDialogs)
        left += "the capture record; ";
    if (dialog.launchBusy) left += "the launch guard; ";
    if (!camera && LiveDemoFilters()) left += "the demo camera's filter; ";
    return left;
}

DWORD LiveDemoFilters() {
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Navolet\\DemoCam", "LiveFilters", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}
