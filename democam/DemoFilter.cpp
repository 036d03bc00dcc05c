// The demo capture filter: a graph member with one capture pin, property pages and
// picture settings.
#include "democam/DemoFilter.h"

HRESULT CreateDemoFilter(REFIID iid, void** object) {
    DemoFilter* filter = new (std::nothrow) DemoFilter;
    if (!filter) return E_OUTOFMEMORY;
    HRESULT hr = filter->QueryInterface(iid, object);
    filter->Release();
    return hr;
}

DemoFilter::DemoFilter() : pin(this) {
    ModuleLock();
    FilterBorn();
}

DemoFilter::~DemoFilter() {
    if (clock) clock->Release();
    FilterDied();
    ModuleUnlock();
}

STDMETHODIMP DemoFilter::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter)
        *object = static_cast<IBaseFilter*>(this);
    else if (iid == IID_ISpecifyPropertyPages)
        *object = static_cast<ISpecifyPropertyPages*>(this);
    else if (iid == IID_IAMVideoProcAmp)
        *object = static_cast<IAMVideoProcAmp*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) DemoFilter::AddRef() { return InterlockedIncrement(&refs); }

STDMETHODIMP_(ULONG) DemoFilter::Release() {
    LONG left = InterlockedDecrement(&refs);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP DemoFilter::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_DemoCamFilter;
    return S_OK;
}

STDMETHODIMP DemoFilter::Stop() { state = State_Stopped; return S_OK; }
STDMETHODIMP DemoFilter::Pause() { state = State_Paused; return S_OK; }
STDMETHODIMP DemoFilter::Run(REFERENCE_TIME) { state = State_Running; return S_OK; }

STDMETHODIMP DemoFilter::GetState(DWORD, FILTER_STATE* current) {
    if (!current) return E_POINTER;
    *current = state;
    return S_OK;
}

STDMETHODIMP DemoFilter::SetSyncSource(IReferenceClock* newClock) {
    if (newClock) newClock->AddRef();
    if (clock) clock->Release();
    clock = newClock;
    return S_OK;
}

STDMETHODIMP DemoFilter::GetSyncSource(IReferenceClock** current) {
    if (!current) return E_POINTER;
    *current = clock;
    if (clock) clock->AddRef();
    return S_OK;
}

STDMETHODIMP DemoFilter::EnumPins(IEnumPins** pins) {
    if (!pins) return E_POINTER;
    return CreatePinEnumerator(&pin, pins);
}

STDMETHODIMP DemoFilter::FindPin(LPCWSTR id, IPin** found) {
    if (!id || !found) return E_POINTER;
    *found = nullptr;
    if (lstrcmpW(id, L"Capture") != 0) return VFW_E_NOT_FOUND;
    *found = &pin;
    pin.AddRef();
    return S_OK;
}

STDMETHODIMP DemoFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    lstrcpynW(info->achName, name, MAX_FILTER_NAME);
    info->pGraph = graph;
    if (graph) graph->AddRef();
    return S_OK;
}

STDMETHODIMP DemoFilter::JoinFilterGraph(IFilterGraph* newGraph, LPCWSTR newName) {
    graph = newGraph;
    lstrcpynW(name, newName ? newName : L"", 128);
    return S_OK;
}

STDMETHODIMP DemoFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

STDMETHODIMP DemoFilter::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    pages->cElems = 1;
    pages->pElems[0] = CLSID_DemoCamPage;
    return S_OK;
}

namespace {
int SettingOf(long property) {
    switch (property) {
    case VideoProcAmp_Brightness: return SettingBrightness;
    case VideoProcAmp_Contrast: return SettingContrast;
    case VideoProcAmp_Saturation: return SettingSaturation;
    default: return -1;
    }
}
}  // namespace

STDMETHODIMP DemoFilter::GetRange(long property, long* min, long* max, long* step,
                                  long* defaultValue, long* flags) {
    int setting = SettingOf(property);
    if (setting < 0) return E_PROP_ID_UNSUPPORTED;
    if (!min || !max || !step || !defaultValue || !flags) return E_POINTER;
    const SettingRange& r = SettingRangeOf(setting);
    *min = r.min;
    *max = r.max;
    *step = r.step;
    *defaultValue = r.defaultValue;
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

STDMETHODIMP DemoFilter::Set(long property, long value, long) {
    int setting = SettingOf(property);
    if (setting < 0) return E_PROP_ID_UNSUPPORTED;
    const SettingRange& r = SettingRangeOf(setting);
    if (value < r.min || value > r.max) return E_INVALIDARG;
    SetDeviceSetting(setting, value);
    return S_OK;
}

STDMETHODIMP DemoFilter::Get(long property, long* value, long* flags) {
    int setting = SettingOf(property);
    if (setting < 0) return E_PROP_ID_UNSUPPORTED;
    if (!value || !flags) return E_POINTER;
    *value = GetDeviceSetting(setting);
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}
