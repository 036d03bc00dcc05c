#include "doubles/FakeFilter.h"
#include "doubles/FakeEnum.h"
#include "doubles/TaskMem.h"

namespace doubles {

FakeFilter::FakeFilter(std::string name, Journal* journal) : ComDouble(std::move(name), journal) {}

FakePin& FakeFilter::AddPin(FakePin& pin) {
    pin.filter = this;
    pins.push_back(&pin);
    return pin;
}

void* FakeFilter::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter)
        return static_cast<IBaseFilter*>(this);
    if (iid == IID_ISpecifyPropertyPages && propertyPages) return static_cast<ISpecifyPropertyPages*>(this);
    return nullptr;
}

HRESULT FakeFilter::GetClassID(CLSID* out) {
    if (!out) return E_POINTER;
    *out = clsid;
    return S_OK;
}

HRESULT FakeFilter::Stop() {
    state = State_Stopped;
    return S_OK;
}

HRESULT FakeFilter::Pause() {
    state = State_Paused;
    return S_OK;
}

HRESULT FakeFilter::Run(REFERENCE_TIME) {
    state = State_Running;
    return S_OK;
}

HRESULT FakeFilter::GetState(DWORD, FILTER_STATE* out) {
    if (!out) return E_POINTER;
    *out = state;
    return S_OK;
}

HRESULT FakeFilter::SetSyncSource(IReferenceClock*) { return S_OK; }

HRESULT FakeFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    *clock = nullptr;
    return S_OK;
}

HRESULT FakeFilter::EnumPins(IEnumPins** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (FAILED(enumPinsResult)) return enumPinsResult;
    std::vector<IPin*> items(pins.begin(), pins.end());
    *out = new FakeEnumPins(name + ".pins", journal, static_cast<IBaseFilter*>(this), items);
    return S_OK;
}

HRESULT FakeFilter::FindPin(LPCWSTR id, IPin** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (FakePin* p : pins)
        if (p->name == Narrow(id)) {
            *out = p;
            p->AddRef();
            return S_OK;
        }
    return VFW_E_NOT_FOUND;
}

HRESULT FakeFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    std::wstring shown = joinedName.empty() ? Wide(name) : joinedName;
    lstrcpynW(info->achName, shown.c_str(), MAX_FILTER_NAME);
    info->pGraph = joinedGraph;
    if (joinedGraph) joinedGraph->AddRef();
    return S_OK;
}

HRESULT FakeFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR joined) {
    joinedGraph = graph;
    joinedName = joined ? joined : L"";
    return S_OK;
}

HRESULT FakeFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

HRESULT FakeFilter::GetPages(CAUUID* out) {
    if (!out) return E_POINTER;
    out->cElems = 0;
    out->pElems = nullptr;
    if (FAILED(getPagesResult)) return getPagesResult;
    if (!pages.empty()) {
        out->pElems = static_cast<GUID*>(TaskAlloc(pages.size() * sizeof(GUID)));
        if (!out->pElems) return E_OUTOFMEMORY;
        for (size_t i = 0; i < pages.size(); ++i) out->pElems[i] = pages[i];
        out->cElems = static_cast<ULONG>(pages.size());
    }
    return getPagesResult;
}

}  // namespace doubles
