// Building the graph around the camera's capture filter and finding its controls.
#include "capture/CaptureState.h"
#include "builder/CaptureBuilder.h"
#include "builder/MediaType.h"
#include "crossbar/CrossbarRouter.h"
#include "platform/Seam.h"
#include <new>

namespace {
// Empties `name`, then copies the device's "FriendlyName" into it, cut to the capacity.
void ReadFriendlyName(IMoniker* moniker, WCHAR* name, int capacity) {
    name[0] = L'\0';
    ComHolder<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                      reinterpret_cast<void**>(bag.Receive()))) ||
        !bag)
        return;
    VARIANT value;
    platform::VariantInit(&value);
    // VariantInit sets only the type: the string stays null until the bag fills it, so a
    // bag that fails leaves nothing for VariantClear to free.
    value.vt = VT_BSTR;
    value.bstrVal = nullptr;
    if (bag->Read(L"FriendlyName", &value, nullptr) == S_OK && value.vt == VT_BSTR &&
        value.bstrVal) {
        int i = 0;
        for (; i < capacity - 1 && value.bstrVal[i]; ++i) name[i] = value.bstrVal[i];
        name[i] = L'\0';
    }
    platform::VariantClear(&value);
}

template <class T>
void** Out(ComHolder<T>& holder) { return reinterpret_cast<void**>(holder.Receive()); }

// The first interleaved, then the plain video capture pin offers the interface.
template <class T>
void FindCaptureInterface(REFIID iid, ComHolder<T>& field) {
    CaptureState& s = captureState;
    if (s.builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved,
                                 s.videoCaptureFilter, iid, Out(field)) != S_OK)
        s.builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, s.videoCaptureFilter,
                                 iid, Out(field));
}

bool IsAnalogVideoInput(IPin* pin) {
    ComHolder<IKsPropertySet> properties;
    if (pin->QueryInterface(IID_IKsPropertySet, Out(properties)) != S_OK || !properties) return false;
    GUID category = GUID_NULL;
    DWORD returned = 0;
    return properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category,
                           sizeof category, &returned) == S_OK &&
           category == PIN_CATEGORY_ANALOGVIDEOIN;
}

// The first analog video input gets a router for the crossbars upstream of it.
void ScanForAnalogInput() {
    CaptureState& s = captureState;
    s.crossbarRouter = nullptr;
    ComHolder<IEnumPins> pins;
    if (FAILED(s.videoCaptureFilter->EnumPins(pins.Receive())) || !pins) return;
    ULONG taken = 0;
    for (;;) {
        ComHolder<IPin> pin;
        if (NextItem(pins.Get(), pin, taken) != S_OK) break;
        if (!pin) continue;
        PIN_INFO info = {};
        HRESULT hr = pin->QueryPinInfo(&info);
        ComHolder<IBaseFilter> owner;
        // Adopt the reference the info carries, also from a success other than S_OK.
        if (SUCCEEDED(hr)) *owner.Receive() = info.pFilter;
        if (hr != S_OK) continue;
        if (info.dir != PINDIR_INPUT || !IsAnalogVideoInput(pin)) continue;
        HRESULT status = S_OK;
        s.crossbarRouter = new (std::nothrow) CrossbarRouter(pin, &status);
        if (s.crossbarRouter && SUCCEEDED(status))
            s.crossbarRouter->GetRouteCount(&s.videoInputCount);
        break;
    }
}

// Adds the audio capture filter when an audio device is chosen; false when the graph
// refuses it.
bool AddAudioCaptureFilter() {
    CaptureState& s = captureState;
    if (!s.audioMoniker) return true;
    s.audioCaptureFilter.Clear();
    s.audioMoniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, Out(s.audioCaptureFilter));
    if (!s.audioCaptureFilter) return true;
    WCHAR audioName[friendlyNameCapacity];
    ReadFriendlyName(s.audioMoniker, audioName, friendlyNameCapacity);
    if (s.filterGraph->AddFilter(s.audioCaptureFilter, audioName) != S_OK) return false;
    s.builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, s.audioCaptureFilter,
                             IID_IAMStreamConfig, Out(s.audioStreamConfig));
    return true;
}

BOOL Fail() {
    ReleaseCaptureFilters();
    return FALSE;
}
}  // namespace

BOOL InitCaptureFilters() {
    CaptureState& s = captureState;
    s.closedCaptionsAvailable = FALSE;
    if (!s.builder) {
        s.builder = new (std::nothrow) CaptureBuilder;
        if (!s.builder) return FALSE;
    }
    s.videoCaptureFilter.Clear();
    if (!s.videoMoniker) return Fail();

    ReadFriendlyName(s.videoMoniker, s.videoFriendlyName, friendlyNameCapacity);
    s.videoMoniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, Out(s.videoCaptureFilter));
    if (!s.videoCaptureFilter) return Fail();

    if (!s.filterGraph &&
        platform::CoCreateInstance(CLSID_FilterGraph, nullptr,
                                   CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                   IID_IGraphBuilder, Out(s.filterGraph)) != S_OK)
        return Fail();
    if (s.builder->SetFiltergraph(s.filterGraph) != S_OK) return Fail();
    if (s.filterGraph->AddFilter(s.videoCaptureFilter, s.videoFriendlyName) != S_OK)
        return Fail();

    FindCaptureInterface(IID_IAMVideoCompression, s.videoCompression);
    FindCaptureInterface(IID_IAMStreamConfig, s.videoStreamConfig);

    // A capture pin that delivers anything but plain video carries its own sound.
    s.audioCaptureRelevant = TRUE;
    AM_MEDIA_TYPE* format = nullptr;
    HRESULT hr = s.videoStreamConfig ? s.videoStreamConfig->GetFormat(&format) : E_FAIL;
    if (hr == S_OK && format && format->majortype != MEDIATYPE_Video) s.audioCaptureRelevant = FALSE;
    // Freed after any success, also one other than S_OK.
    if (SUCCEEDED(hr)) ReleaseMediaType(format);

    s.builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, s.videoCaptureFilter,
                             IID_IAMVfwCaptureDialogs, Out(s.vfwCaptureDialogs));
    ScanForAnalogInput();

    if (s.audioCaptureRelevant && !AddAudioCaptureFilter()) return Fail();

    ComHolder<IPin> pin;
    if (s.builder->FindPin(s.videoCaptureFilter, PINDIR_OUTPUT, &PIN_CATEGORY_VBI, nullptr,
                           FALSE, 0, pin.Receive()) == S_OK ||
        s.builder->FindPin(s.videoCaptureFilter, PINDIR_OUTPUT, &PIN_CATEGORY_CC, nullptr,
                           FALSE, 0, pin.Receive()) == S_OK)
        s.closedCaptionsAvailable = TRUE;
    return TRUE;
}
