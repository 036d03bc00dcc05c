#pragma once
// The launch from the tray on Wine's device enumerator, monikers, property bags, filter
// graph and capture graph builder, with the platform operations it calls answered by the
// chooser. It meets the devices of a world (faults/World.h), or the demo camera the test
// command registers alone. The property frame is answered at the seam, which tries a
// second launch while it is open.
#include <cwchar>
#include <optional>
#include <string>

#include "app/TrayDialog.h"
#include "capture/CaptureState.h"
#include "crossbar/CrossbarRouter.h"
#include "faults/World.h"

namespace launch {
using namespace doubles;
using hooks::Seam;

// Live capture filters of the demo camera, as it counts them in the registry.
inline DWORD LiveDemoFilters() {
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Navolet\\DemoCam", "LiveFilters", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// The platform operations of the launch, in front of the world's own.
struct Seams {
    Seam<platform::CoCreateInstance> create{"CoCreateInstance"};
    Seam<platform::OleCreatePropertyFrame> frame{"OleCreatePropertyFrame"};
    Seam<platform::GetProfileStringA> profile{"GetProfileStringA"};
    Seam<platform::GetVersionExA> version{"GetVersionExA"};
    Seam<platform::GetLocaleInfoA> locale{"GetLocaleInfoA"};
    Seam<platform::MultiByteToWideChar> multiByte{"MultiByteToWideChar", S_FALSE, true};
    Seam<platform::SysAllocStringLen> alloc{"SysAllocStringLen", S_FALSE, true};
    Seam<platform::VarBstrCmp> compare{"VarBstrCmp", VARCMP_NULL};
    Seam<platform::VariantClear> clear{"VariantClear"};
};

struct LaunchWorld;
inline LaunchWorld* current;

struct LaunchWorld {
    // With devices, a world's three are registered while it lives.
    explicit LaunchWorld(bool withDevices) {
        current = this;
        ReleaseCaptureFilters();
        captureState = CaptureState{};
        if (withDevices) devices.emplace();
        dialog.m_hWnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        platform::OleCreatePropertyFrame = &Frame;
        seams.emplace();
    }
    ~LaunchWorld() {
        seams.reset();
        platform::OleCreatePropertyFrame = &::OleCreatePropertyFrame;
        DestroyWindow(dialog.m_hWnd);
        dialog.m_hWnd = nullptr;
        current = nullptr;
    }
    // One launch as a double-click makes it, on the world's filters; then the monikers it
    // kept are let go of. Where the world has an earlier graph, the launch finds it, to tear
    // down first.
    void Launch() {
        ResetConversionCodePageForTest();
        if (world) world->Relink();
        if (CaptureState& s = captureState; world && !world->earlier.empty()) {
            CoCreateInstance(CLSID_FilterGraphNoThread, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                             reinterpret_cast<void**>(s.filterGraph.Receive()));
            s.videoCaptureFilter = world->earlier[0].first->filter;
            for (auto [out, in] : world->earlier) s.filterGraph->AddFilter(in->filter, nullptr), s.filterGraph->ConnectDirect(out, in, nullptr);
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
        if (LiveDemoFilters()) left += "the demo camera's filter; ";
        return left;
    }
    // After hostile answers: the frame shown exactly when the first device named as the
    // camera has a filter with a sound page list, and the capture filter left in its graph.
    std::string Verdict() const {
        const size_t due = answers::FrameDue() ? 1 : 0;
        std::string wrong = frames.size() == due ? "" : std::to_string(frames.size()) + " frames shown, " + std::to_string(due) + " due; ";
        return wrong + (answers::CaptureFilterRemoved() ? "the teardown removed the capture filter itself; " : "");
    }
    // The frames shown: owner, place, caption, objects, pages, locale, and what the
    // record held while it was open.
    std::vector<std::string> frames;
    ::world::World* world = nullptr;
    std::optional<::world::Devices> devices;
    std::optional<Seams> seams;
    TrayDialog dialog;

    static HRESULT WINAPI Frame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG count, LPUNKNOWN* objects,
                                ULONG pages, LPCLSID ids, LCID locale, DWORD, LPVOID) {
        const CaptureState& s = captureState;
        char text[512];
        snprintf(text, sizeof text, "owner %s at %u,%u caption %ls objects %lu:%s pages %lu:%s locale %lu routes %ld "
                 "captions %d format %s", owner == current->dialog.m_hWnd ? "tray" : "other", x, y,
                 caption ? caption : L"-", count, NameOf(objects[0], "platform").c_str(), pages,
                 pages && ids[0] == ::world::cameraPage ? "camera" : "other", locale, s.videoInputCount,
                 s.closedCaptionsAvailable, NameOf(s.videoStreamConfig, "platform").c_str());
        current->frames.push_back(text);
        // Captioned with the device's name as read, else the camera's: never untitled.
        if (!caption || std::wcscmp(caption, s.videoFriendlyName[0] ? s.videoFriendlyName : L"Quendal KVX410RB PC Camera"))
            strict::Complain("the frame's caption is not the camera's name; ");
        // The frame's own loop lets a double-click through (once: a launch that enters
        // again shows a second frame rather than recursing for ever).
        if (current->frames.size() == 1) current->dialog.LaunchPropertyPages();
        return S_OK;
    }
};

}  // namespace launch
