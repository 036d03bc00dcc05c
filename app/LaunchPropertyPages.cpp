// The main job: find the camera, build its graph and show its driver's property pages.
#include "app/TrayDialog.h"
#include "capture/CaptureState.h"
#include "platform/Seam.h"

namespace {
const char profileSection[] = "velta";

// The most pages one frame shows. Drivers supply a handful; a count beyond this is not
// a list the frame could read.
const ULONG maxPropertyPages = 64;

// The frame's caption when the device's own name could not be read: the name the device
// was chosen by, which it bears but for case. The platform titles the frame from the
// caption, so it is never null or empty.
const WCHAR cameraCaption[] = L"Quendal KVX410RB PC Camera";

// The driver's pages for the capture filter, in a modal frame owned by the tray window.
// The page list is the driver's answer: the frame reads as many identifiers as it says,
// so it is shown only for an array that is there with a count from 1 to the bound.
void ShowPropertyFrame() {
    CaptureState& s = captureState;
    ComHolder<ISpecifyPropertyPages> pages;
    if (s.videoCaptureFilter->QueryInterface(IID_ISpecifyPropertyPages,
                                             reinterpret_cast<void**>(pages.Receive())) != S_OK ||
        !pages)
        return;
    CAUUID list = {0, nullptr};
    // A failed GetPages leaves a count that cannot be trusted: no frame then. The array is
    // null after a failure, as for every out-pointer; whatever was handed out is freed.
    if (SUCCEEDED(pages->GetPages(&list)) && list.pElems && list.cElems >= 1 &&
        list.cElems <= maxPropertyPages) {
        IUnknown* object = s.videoCaptureFilter;
        const WCHAR* caption = s.videoFriendlyName[0] ? s.videoFriendlyName : cameraCaption;
        platform::OleCreatePropertyFrame(s.ownerWindow, 30, 30, caption, 1, &object,
                                         list.cElems, list.pElems, 0, 0, nullptr);
    }
    platform::CoTaskMemFree(list.pElems);
}
}  // namespace

void TrayDialog::LaunchPropertyPages() {
    // The frame's own message loop can bring a second launch here: one at a time.
    if (launchBusy) return;
    launchBusy = TRUE;
    showState = 1;
    OnPaint();

    TearDownGraph();
    ReleaseCaptureFilters();
    CaptureState& s = captureState;
    s.ownerWindow = m_hWnd;
    platform::GetProfileStringA(profileSection, "CaptureFile", "", s.captureFileName,
                                sizeof s.captureFileName);
    s.videoMoniker.Clear();
    s.audioMoniker.Clear();
    char videoDevice[1024] = "";
    char audioDevice[1024] = "";
    platform::GetProfileStringA(profileSection, "VideoDevice2", "", videoDevice, sizeof videoDevice);
    platform::GetProfileStringA(profileSection, "AudioDevice2", "", audioDevice, sizeof audioDevice);
    SelectDevice(videoDevice, audioDevice);

    if (s.videoCaptureFilter) ShowPropertyFrame();

    launchBusy = FALSE;
    TearDownGraph();
    ReleaseCaptureFilters();
}
