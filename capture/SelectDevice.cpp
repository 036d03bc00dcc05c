// Finding the camera among the video input devices by its friendly name.
#include "capture/CaptureState.h"
#include "platform/Seam.h"

namespace {
const char cameraName[] = "Quendal KVX410RB PC Camera";

// The camera's name as a BSTR, or null when it cannot be converted.
BSTR CameraNameString() {
    UINT codePage = ConversionCodePage();
    int n = platform::MultiByteToWideChar(codePage, 0, cameraName, -1, nullptr, 0);
    if (n <= 0) return nullptr;
    BSTR name = platform::SysAllocStringLen(nullptr, n - 1);
    if (!name) return nullptr;
    if (platform::MultiByteToWideChar(codePage, 0, cameraName, -1, name, n) != n) {
        platform::SysFreeString(name);
        return nullptr;
    }
    return name;
}

bool IsCamera(IMoniker* moniker) {
    ComHolder<IPropertyBag> bag;
    if (moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                               reinterpret_cast<void**>(bag.Receive())) != S_OK ||
        !bag)
        return false;
    VARIANT friendlyName;
    platform::VariantInit(&friendlyName);
    // VariantInit sets only the type: the string stays null until the bag fills it, so a
    // bag that fails leaves nothing for VariantClear to free.
    friendlyName.vt = VT_BSTR;
    friendlyName.bstrVal = nullptr;
    bool match = false;
    if (bag->Read(L"FriendlyName", &friendlyName, nullptr) == S_OK) {
        BSTR name = CameraNameString();
        // Only a string can be compared; a bag that hands back anything else is no camera.
        // Without the camera's own name nothing is compared: the platform takes a null
        // string as an empty one, which an unnamed device would match.
        if (name && friendlyName.vt == VT_BSTR)
            match = platform::VarBstrCmp(friendlyName.bstrVal, name, LOCALE_SYSTEM_DEFAULT,
                                         NORM_IGNORECASE) == VARCMP_EQ;
        platform::SysFreeString(name);
    }
    platform::VariantClear(&friendlyName);
    return match;
}
}  // namespace

BOOL SelectDevice(const char*, const char*) {
    ComHolder<ICreateDevEnum> devices;
    platform::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                               reinterpret_cast<void**>(devices.Receive()));
    if (!devices) return FALSE;
    ComHolder<IEnumMoniker> monikers;
    devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers.Receive(), 0);
    if (!monikers) return FALSE;
    monikers->Reset();
    ComHolder<IMoniker> chosen;
    ULONG taken = 0;
    for (;;) {
        ComHolder<IMoniker> moniker;
        if (NextItem(monikers.Get(), moniker, taken) != S_OK) break;
        if (moniker && IsCamera(moniker)) {
            chosen = moniker;
            break;
        }
    }
    ChooseDevices(chosen, nullptr);
    return TRUE;
}

BOOL ChooseDevices(IMoniker* videoMoniker, IMoniker* audioMoniker) {
    CaptureState& s = captureState;
    if (videoMoniker == s.videoMoniker && audioMoniker == s.audioMoniker) return TRUE;
    // Hold the new ones before the old ones go: they may be the same objects.
    ComHolder<IMoniker> video(videoMoniker);
    ComHolder<IMoniker> audio(audioMoniker);
    s.videoMoniker.Clear();
    s.audioMoniker.Clear();
    s.videoMoniker = video;
    s.audioMoniker = audio;
    TearDownGraph();
    ReleaseCaptureFilters();
    InitCaptureFilters();
    return TRUE;
}
