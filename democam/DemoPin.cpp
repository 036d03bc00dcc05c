// The capture output pin. It never connects: the applet only asks what it is.
#include "democam/DemoFilter.h"

STDMETHODIMP DemoPin::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin)
        *object = static_cast<IPin*>(this);
    else if (iid == IID_IKsPropertySet)
        *object = static_cast<IKsPropertySet*>(this);
    else if (iid == IID_IAMStreamConfig)
        *object = static_cast<IAMStreamConfig*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) DemoPin::AddRef() { return filter->AddRef(); }
STDMETHODIMP_(ULONG) DemoPin::Release() { return filter->Release(); }

STDMETHODIMP DemoPin::Connect(IPin*, const AM_MEDIA_TYPE*) { return VFW_E_NO_ACCEPTABLE_TYPES; }
STDMETHODIMP DemoPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }
STDMETHODIMP DemoPin::Disconnect() { return S_FALSE; }

STDMETHODIMP DemoPin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    *pin = nullptr;
    return VFW_E_NOT_CONNECTED;
}

STDMETHODIMP DemoPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    ZeroMemory(type, sizeof *type);
    return VFW_E_NOT_CONNECTED;
}

STDMETHODIMP DemoPin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = filter;
    filter->AddRef();
    info->dir = PINDIR_OUTPUT;
    lstrcpyW(info->achName, L"Capture");
    return S_OK;
}

STDMETHODIMP DemoPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP DemoPin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof L"Capture"));
    if (!*id) return E_OUTOFMEMORY;
    lstrcpyW(*id, L"Capture");
    return S_OK;
}

STDMETHODIMP DemoPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    return type->majortype == MEDIATYPE_Video ? S_OK : S_FALSE;
}

STDMETHODIMP DemoPin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types) return E_POINTER;
    return CreateMediaTypeEnumerator(types);
}

STDMETHODIMP DemoPin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }
STDMETHODIMP DemoPin::EndOfStream() { return E_UNEXPECTED; }
STDMETHODIMP DemoPin::BeginFlush() { return E_UNEXPECTED; }
STDMETHODIMP DemoPin::EndFlush() { return E_UNEXPECTED; }
STDMETHODIMP DemoPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

STDMETHODIMP DemoPin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) {
    return E_PROP_ID_UNSUPPORTED;
}

STDMETHODIMP DemoPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size,
                          DWORD* returned) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (!data) return E_POINTER;
    if (size < sizeof(GUID)) return E_UNEXPECTED;
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    if (returned) *returned = sizeof(GUID);
    return S_OK;
}

STDMETHODIMP DemoPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

STDMETHODIMP DemoPin::SetFormat(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    return QueryAccept(type) == S_OK ? S_OK : VFW_E_INVALIDMEDIATYPE;
}

STDMETHODIMP DemoPin::GetFormat(AM_MEDIA_TYPE** type) {
    if (!type) return E_POINTER;
    *type = CreateDemoMediaType();
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP DemoPin::GetNumberOfCapabilities(int* count, int* size) {
    if (!count || !size) return E_POINTER;
    *count = 1;
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP DemoPin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    if (!type || !caps) return E_POINTER;
    if (index != 0) return S_FALSE;
    *type = CreateDemoMediaType();
    if (!*type) return E_OUTOFMEMORY;
    VIDEO_STREAM_CONFIG_CAPS* c = reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps);
    ZeroMemory(c, sizeof *c);
    c->guid = FORMAT_VideoInfo;
    c->InputSize = c->MinCroppingSize = c->MaxCroppingSize = {320, 240};
    c->MinOutputSize = c->MaxOutputSize = {320, 240};
    c->MinFrameInterval = c->MaxFrameInterval = 333333;
    c->MinBitsPerSecond = c->MaxBitsPerSecond = 320 * 240 * 24 * 30;
    return S_OK;
}
