#include "doubles/FakePin.h"
#include "doubles/TaskMem.h"
#include <cstring>

namespace doubles {

FakePin::FakePin(std::string name, PIN_DIRECTION direction, Journal* journal)
    : ComDouble(std::move(name), journal), direction(direction) {}

void FakePin::Link(FakePin& a, FakePin& b) {
    a.peer = &b;
    b.peer = &a;
}

void* FakePin::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IPin) return static_cast<IPin*>(this);
    if (iid == IID_IKsPropertySet && hasCategory) return static_cast<IKsPropertySet*>(this);
    if (iid == __uuidof(IKsPin) && hasKsPin) return static_cast<IKsPin*>(this);
    return nullptr;
}

HRESULT FakePin::Connect(IPin* receive, const AM_MEDIA_TYPE*) {
    Log("Connect(" + NameOf(receive) + ")");
    return E_NOTIMPL;
}

HRESULT FakePin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) { return E_NOTIMPL; }

HRESULT FakePin::Disconnect() {
    Log("Disconnect");
    if (!peer) return S_FALSE;
    peer = nullptr;
    return S_OK;
}

HRESULT FakePin::ConnectedTo(IPin** out) {
    if (!out) return E_POINTER;
    *out = peer;
    if (!peer) return VFW_E_NOT_CONNECTED;
    peer->AddRef();
    return S_OK;
}

HRESULT FakePin::ConnectionMediaType(AM_MEDIA_TYPE*) { return E_NOTIMPL; }

HRESULT FakePin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    if (FAILED(queryPinInfoResult)) return queryPinInfoResult;
    info->pFilter = filter;
    if (filter) filter->AddRef();
    info->dir = direction;
    std::wstring wide = Wide(name);
    lstrcpynW(info->achName, wide.c_str(), MAX_PIN_NAME);
    return queryPinInfoResult;
}

HRESULT FakePin::QueryDirection(PIN_DIRECTION* out) {
    if (!out) return E_POINTER;
    *out = direction;
    return S_OK;
}

HRESULT FakePin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    std::wstring wide = Wide(name);
    size_t bytes = (wide.size() + 1) * sizeof(WCHAR);
    *id = static_cast<LPWSTR>(TaskAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, wide.c_str(), bytes);
    return S_OK;
}

HRESULT FakePin::QueryAccept(const AM_MEDIA_TYPE*) { return S_FALSE; }

HRESULT FakePin::EnumMediaTypes(IEnumMediaTypes** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (FAILED(enumMediaTypesResult)) return enumMediaTypesResult;
    *out = new FakeEnumMediaTypes(this);
    return S_OK;
}

HRESULT FakePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }
HRESULT FakePin::EndOfStream() { return S_OK; }
HRESULT FakePin::BeginFlush() { return S_OK; }
HRESULT FakePin::EndFlush() { return S_OK; }
HRESULT FakePin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

HRESULT FakePin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) { return E_PROP_ID_UNSUPPORTED; }

HRESULT FakePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataBytes, DWORD* returned) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (FAILED(categoryResult)) return categoryResult;
    if (!data) return E_POINTER;
    if (dataBytes < sizeof(GUID)) return E_UNEXPECTED;
    *static_cast<GUID*>(data) = category;
    if (returned) *returned = sizeof(GUID);
    return categoryResult;
}

HRESULT FakePin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

// One KSMULTIPLE_ITEM header followed by the mediums, as the kernel streaming proxy
// hands it out.
HRESULT FakePin::KsQueryMediums(PKSMULTIPLE_ITEM* list) {
    if (!list) return E_POINTER;
    *list = nullptr;
    if (FAILED(mediumsResult)) return mediumsResult;
    size_t bytes = sizeof(KSMULTIPLE_ITEM) + mediums.size() * sizeof(REGPINMEDIUM);
    auto* header = static_cast<KSMULTIPLE_ITEM*>(TaskAlloc(bytes));
    if (!header) return E_OUTOFMEMORY;
    header->Size = static_cast<ULONG>(bytes);
    header->Count = static_cast<ULONG>(mediums.size());
    if (!mediums.empty()) std::memcpy(header + 1, mediums.data(), mediums.size() * sizeof(REGPINMEDIUM));
    *list = header;
    return mediumsResult;
}

HRESULT FakePin::KsQueryInterfaces(PKSMULTIPLE_ITEM*) { return E_NOTIMPL; }
HRESULT FakePin::KsCreateSinkPinHandle(KSPIN_INTERFACE&, KSPIN_MEDIUM&) { return E_NOTIMPL; }
HRESULT FakePin::KsGetCurrentCommunication(KSPIN_COMMUNICATION*, KSPIN_INTERFACE*, KSPIN_MEDIUM*) {
    return E_NOTIMPL;
}
HRESULT FakePin::KsPropagateAcquire() { return E_NOTIMPL; }
HRESULT FakePin::KsDeliver(IMediaSample*, ULONG) { return E_NOTIMPL; }
HRESULT FakePin::KsMediaSamplesCompleted(PKSSTREAM_SEGMENT) { return E_NOTIMPL; }
IMemAllocator* FakePin::KsPeekAllocator(KSPEEKOPERATION) { return nullptr; }
HRESULT FakePin::KsReceiveAllocator(IMemAllocator*) { return E_NOTIMPL; }
HRESULT FakePin::KsRenegotiateAllocator() { return E_NOTIMPL; }
LONG FakePin::KsIncrementPendingIoCount() { return 0; }
LONG FakePin::KsDecrementPendingIoCount() { return 0; }
HRESULT FakePin::KsQualityNotify(ULONG, REFERENCE_TIME) { return E_NOTIMPL; }

FakeEnumMediaTypes::FakeEnumMediaTypes(FakePin* pin, size_t position)
    : ComDouble(pin->name + ".mediaTypes", pin->journal), pin(pin), position(position) {
    heap = true;
    pin->AddRef();
}

FakeEnumMediaTypes::~FakeEnumMediaTypes() { static_cast<IPin*>(pin)->Release(); }

void* FakeEnumMediaTypes::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IEnumMediaTypes) return static_cast<IEnumMediaTypes*>(this);
    return nullptr;
}

HRESULT FakeEnumMediaTypes::Next(ULONG wanted, AM_MEDIA_TYPE** out, ULONG* fetched) {
    if (!out || (wanted > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < wanted && position < pin->mediaTypes.size(); ++n, ++position) {
        out[n] = NewMediaType(pin->mediaTypes[position]);
        if (!out[n]) break;
    }
    if (fetched) *fetched = n;
    return n == wanted ? S_OK : S_FALSE;
}

HRESULT FakeEnumMediaTypes::Skip(ULONG n) {
    position += n;
    if (position <= pin->mediaTypes.size()) return S_OK;
    position = pin->mediaTypes.size();
    return S_FALSE;
}

HRESULT FakeEnumMediaTypes::Reset() {
    position = 0;
    return S_OK;
}

HRESULT FakeEnumMediaTypes::Clone(IEnumMediaTypes** out) {
    if (!out) return E_POINTER;
    *out = new FakeEnumMediaTypes(pin, position);
    return S_OK;
}

}  // namespace doubles
