#pragma once
// The launch from the tray on Wine's device enumerator, monikers, property bags, filter
// graph and capture graph builder. The camera is either the demo camera the test command
// registers, or a double registered beside it as a video input device: a capture pin, a
// VBI pin and an analog video input fed by a crossbar. The
// double is listed after a device whose name only starts like the camera's and before one
// whose name matches with the same case. The property frame is answered at the seam,
// which tries a second launch while it is open.
#include <cwchar>
#include <memory>
#include <string>

#include "app/TrayDialog.h"
#include "capture/CaptureState.h"
#include "crossbar/CrossbarRouter.h"
#include "doubles/Hooks.h"

namespace launch {
using namespace doubles;

const CLSID cameraClass = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x01}};
const CLSID otherClass = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x02}};
const CLSID cameraPage = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x03}};

// Live capture filters of the demo camera, as it counts them in the registry.
inline DWORD LiveDemoFilters() {
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Navolet\\DemoCam", "LiveFilters", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

struct Camera {
    FakePin capture{"cam.capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE}, vbi{"cam.vbi", PINDIR_OUTPUT, PIN_CATEGORY_VBI},
        analog{"cam.analog", PINDIR_INPUT, PIN_CATEGORY_ANALOGVIDEOIN}, rendererIn{"renderer.in", PINDIR_INPUT},
        rendererOut{"renderer.out", PINDIR_OUTPUT}, sinkIn{"sink.in", PINDIR_INPUT};
    FakeFilter filter{"cam", capture, vbi, analog}, other{"other"}, renderer{"renderer", rendererIn, rendererOut},
        sink{"sink", sinkIn};
    FakeCrossbar crossbar{"xbar", {PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Audio_Line}};
    ClassObject cameraObject{cameraClass, static_cast<IBaseFilter*>(&filter)};
    ClassObject otherObject{otherClass, static_cast<IBaseFilter*>(&other)};
    Device devices[3] = {{CLSID_VideoInputDeviceCategory, L"navolet test 1", L"Quendal KVX410RB PC Camera 2", otherClass},
                         {CLSID_VideoInputDeviceCategory, L"navolet test 2", L"QUENDAL KVX410RB PC CAMERA", cameraClass},
                         {CLSID_VideoInputDeviceCategory, L"navolet test 3", L"Quendal KVX410RB PC Camera", cameraClass}};
    Camera() {
        capture.mediaTypes = {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24}};
        filter.pages = {cameraPage};
    }
};

struct LaunchWorld;
inline LaunchWorld* world;

struct LaunchWorld {
    explicit LaunchWorld(bool demoCamera) {
        world = this;
        ReleaseCaptureFilters();
        captureState = CaptureState{};
        if (!demoCamera) camera.reset(new Camera);
        dialog.m_hWnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        platform::OleCreatePropertyFrame = &Frame;
    }
    ~LaunchWorld() {
        platform::OleCreatePropertyFrame = &::OleCreatePropertyFrame;
        DestroyWindow(dialog.m_hWnd);
        dialog.m_hWnd = nullptr;
        world = nullptr;
    }
    // One launch as a double-click makes it; then the monikers it kept are let go of. With
    // the double, the launch finds the graph of an earlier one with a renderer and a sink
    // downstream of the camera, to tear down first.
    void Launch() {
        ResetConversionCodePageForTest();
        if (CaptureState& s = captureState; camera) {
            // Wine's graph disconnects every pin of a filter it lets go of, the link to the
            // crossbar too: the camera is wired to it again for each launch.
            camera->crossbar.Output().peer = &camera->analog, camera->analog.peer = &camera->crossbar.Output();
            CoCreateInstance(CLSID_FilterGraphNoThread, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                             reinterpret_cast<void**>(s.filterGraph.Receive()));
            s.videoCaptureFilter = &camera->filter;
            // The camera stays out of it, so that no removal disconnects it from its crossbar.
            for (IBaseFilter* f : {&camera->renderer, &camera->sink}) s.filterGraph->AddFilter(f, nullptr);
            s.filterGraph->ConnectDirect(&camera->capture, &camera->rendererIn, nullptr);
            s.filterGraph->ConnectDirect(&camera->rendererOut, &camera->sinkIn, nullptr);
            hooks::Hook({s.filterGraph});
        }
        dialog.LaunchPropertyPages();
        captureState.videoMoniker.Clear();
        captureState.audioMoniker.Clear();
    }
    // What is left after a launch, or "": the record, the launch guard, the demo camera's
    // filter, and what hooks::Left() finds.
    std::string Left() const {
        const CaptureState& s = captureState;
        std::string left = hooks::Left();
        if (s.builder || s.filterGraph || s.videoCaptureFilter || s.audioCaptureFilter || s.crossbarRouter ||
            s.videoCompression || s.videoStreamConfig || s.audioStreamConfig || s.vfwCaptureDialogs)
            left += "the capture record; ";
        if (dialog.launchBusy) left += "the launch guard; ";
        if (!camera && LiveDemoFilters()) left += "the demo camera's filter; ";
        return left;
    }
    // The frames shown: owner, place, caption, objects, pages, locale, and what the
    // record held while it was open.
    std::vector<std::string> frames;
    std::unique_ptr<Camera> camera;  // the double, when it is the camera
    TrayDialog dialog;

    static HRESULT WINAPI Frame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG count, LPUNKNOWN* objects,
                                ULONG pages, LPCLSID ids, LCID locale, DWORD, LPVOID) {
        const CaptureState& s = captureState;
        char text[512];
        snprintf(text, sizeof text, "owner %s at %u,%u caption %ls objects %lu:%s pages %lu:%s locale %lu routes %ld "
                 "captions %d format %s", owner == world->dialog.m_hWnd ? "tray" : "other", x, y,
                 caption ? caption : L"-", count, NameOf(objects[0], "platform").c_str(), pages,
                 pages && ids[0] == cameraPage ? "camera" : "other", locale, s.videoInputCount,
                 s.closedCaptionsAvailable, NameOf(s.videoStreamConfig, "platform").c_str());
        world->frames.push_back(text);
        // Captioned with the device's name as read, else the camera's: never untitled.
        if (!caption || std::wcscmp(caption, s.videoFriendlyName[0] ? s.videoFriendlyName : L"Quendal KVX410RB PC Camera"))
            strict::Complain("the frame's caption is not the camera's name; ");
        // The frame's own loop lets a double-click through (once: a launch that enters
        // again shows a second frame rather than recursing for ever).
        if (world->frames.size() == 1) world->dialog.LaunchPropertyPages();
        return S_OK;
    }
};

}  // namespace launch
