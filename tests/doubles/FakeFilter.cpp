#include "doubles/FakeFilter.h"
#include <cstring>

namespace doubles {

void* FakePin::Native(REFIID iid) {
    if ((iid == IID_IKsPropertySet && !hasCategory) || (iid == __uuidof(IKsPin) && !hasKsPin)) return nullptr;
    return Double::Native(iid);
}

HRESULT FakePin::Connect(IPin* receive, const AM_MEDIA_TYPE* mt) {
    HRESULT hr = receive->ReceiveConnection(this, mt);
    if (SUCCEEDED(hr)) peer = receive;
    return hr;
}

HRESULT FakePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE*) {
    if (!accepts || peer) return VFW_E_NO_ACCEPTABLE_TYPES;
    return peer = connector, S_OK;
}

HRESULT FakePin::Disconnect() {
    Log("Disconnect");
    if (!peer) return S_FALSE;
    return peer = nullptr, S_OK;
}

HRESULT FakePin::ConnectedTo(IPin** out) {
    if ((*out = peer)) return peer->AddRef(), S_OK;
    return VFW_E_NOT_CONNECTED;
}

HRESULT FakePin::QueryPinInfo(PIN_INFO* info) {
    if (FAILED(queryPinInfoResult)) return queryPinInfoResult;
    if ((info->pFilter = filter)) filter->AddRef();
    info->dir = direction;
    lstrcpynW(info->achName, Wide(name).c_str(), MAX_PIN_NAME);
    return queryPinInfoResult;
}

HRESULT FakePin::QueryId(LPWSTR* id) {
    std::wstring wide = Wide(name);
    if (!(*id = static_cast<LPWSTR>(TaskAlloc((wide.size() + 1) * sizeof(WCHAR))))) return E_OUTOFMEMORY;
    std::memcpy(*id, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    return S_OK;
}

HRESULT FakePin::EnumMediaTypes(IEnumMediaTypes** out) {
    *out = nullptr;
    if (FAILED(enumMediaTypesResult)) return enumMediaTypesResult;
    return *out = new FakeEnumMediaTypes(name + ".mediaTypes", journal, static_cast<IPin*>(this), mediaTypes), S_OK;
}

HRESULT FakePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataBytes, DWORD* returned) {
    if (set != AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (FAILED(categoryResult)) return categoryResult;
    if (!data || dataBytes < sizeof(GUID)) return E_POINTER;
    *static_cast<GUID*>(data) = category;
    if (returned) *returned = sizeof(GUID);
    return categoryResult;
}

// One KSMULTIPLE_ITEM header followed by the mediums, as the kernel streaming proxy hands it out.
HRESULT FakePin::KsQueryMediums(PKSMULTIPLE_ITEM* list) {
    *list = nullptr;
    if (FAILED(mediumsResult)) return mediumsResult;
    size_t bytes = sizeof(KSMULTIPLE_ITEM) + mediums.size() * sizeof(REGPINMEDIUM);
    auto* header = static_cast<KSMULTIPLE_ITEM*>(TaskAlloc(bytes));
    if (!header) return E_OUTOFMEMORY;
    *header = {static_cast<ULONG>(bytes), static_cast<ULONG>(mediums.size())};
    if (!mediums.empty()) std::memcpy(header + 1, mediums.data(), mediums.size() * sizeof(REGPINMEDIUM));
    return *list = header, mediumsResult;
}

void* FakeFilter::Native(REFIID iid) {
    if (iid == IID_IPersist || iid == IID_IMediaFilter) return static_cast<IBaseFilter*>(this);
    if (iid == IID_ISpecifyPropertyPages && !propertyPages) return nullptr;
    return Double::Native(iid);
}

HRESULT FakeFilter::EnumPins(IEnumPins** out) {
    *out = nullptr;
    if (FAILED(enumPinsResult)) return enumPinsResult;
    std::vector<IPin*> items(pins.begin(), pins.end());
    return *out = new FakeEnumPins(name + ".pins", journal, static_cast<IBaseFilter*>(this), items), S_OK;
}

HRESULT FakeFilter::QueryFilterInfo(FILTER_INFO* info) {
    lstrcpynW(info->achName, (joinedName.empty() ? Wide(name) : joinedName).c_str(), MAX_FILTER_NAME);
    if ((info->pGraph = joinedGraph)) joinedGraph->AddRef();
    return S_OK;
}

HRESULT FakeFilter::GetPages(CAUUID* out) {
    *out = CAUUID{0, nullptr};
    if (FAILED(getPagesResult) || pages.empty()) return getPagesResult;
    if (!(out->pElems = static_cast<GUID*>(TaskAlloc(pages.size() * sizeof(GUID))))) return E_OUTOFMEMORY;
    std::memcpy(out->pElems, pages.data(), pages.size() * sizeof(GUID));
    out->cElems = static_cast<ULONG>(pages.size());
    return getPagesResult;
}

FakeCrossbar::FakeCrossbar(std::string name, std::vector<CrossbarPin> inputs, std::vector<CrossbarPin> outputs,
                           Journal* journal)
    : Double(name, journal), inputs(std::move(inputs)), outputs(std::move(outputs)), filter(name + ".filter", journal) {
    for (size_t i = 0; i < this->inputs.size(); ++i)
        filter.AddPin(pins.emplace_back(name + ".in" + std::to_string(i), PINDIR_INPUT, journal));
    for (size_t i = 0; i < this->outputs.size(); ++i)
        filter.AddPin(pins.emplace_back(name + ".out" + std::to_string(i), PINDIR_OUTPUT, journal));
    filter.Expose(IID_IAMCrossbar, static_cast<IAMCrossbar*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
}

HRESULT FakeCrossbar::get_PinCounts(LONG* outputCount, LONG* inputCount) {
    if (FAILED(pinCountsResult)) return pinCountsResult;
    *outputCount = static_cast<LONG>(outputs.size());
    *inputCount = static_cast<LONG>(inputs.size());
    return pinCountsResult;
}

HRESULT FakeCrossbar::CanRoute(LONG output, LONG input) {
    if (output < 0 || input < 0 || size_t(output) >= outputs.size() || size_t(input) >= inputs.size())
        return E_INVALIDARG;
    auto it = canRoute.find({output, input});
    return it == canRoute.end() ? S_OK : it->second;
}

HRESULT FakeCrossbar::get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) {
    const auto& list = isInput ? inputs : outputs;
    if (index < 0 || size_t(index) >= list.size()) return E_INVALIDARG;
    if (FAILED(pinInfoResult)) return pinInfoResult;
    *related = list[index].related;
    *type = list[index].physicalType;
    return pinInfoResult;
}

}  // namespace doubles
