#include "doubles/FakeGraph.h"
#include "doubles/FakeEnum.h"
#include <algorithm>

namespace doubles {
namespace {

// Links two fake pins both ways, or does nothing for foreign pins.
void LinkPins(IPin* a, IPin* b) {
    auto* pa = dynamic_cast<FakePin*>(AsDouble(a));
    auto* pb = dynamic_cast<FakePin*>(AsDouble(b));
    if (pa && pb) FakePin::Link(*pa, *pb);
}

}  // namespace

FakeGraph::FakeGraph(std::string name, Journal* journal) : ComDouble(std::move(name), journal) {}

void* FakeGraph::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IFilterGraph || iid == IID_IGraphBuilder)
        return static_cast<IGraphBuilder*>(this);
    return nullptr;
}

HRESULT FakeGraph::Next(std::deque<HRESULT>& queue) {
    if (queue.empty()) return S_OK;
    HRESULT hr = queue.front();
    queue.pop_front();
    return hr;
}

bool FakeGraph::Contains(IBaseFilter* filter) const {
    return std::find(filters.begin(), filters.end(), filter) != filters.end();
}

HRESULT FakeGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
    Log("AddFilter(" + NameOf(filter) + ")");
    HRESULT hr = Next(addFilterResults);
    if (FAILED(hr)) return hr;
    filters.push_back(filter);
    if (filter) filter->JoinFilterGraph(this, name);
    return hr;
}

HRESULT FakeGraph::RemoveFilter(IBaseFilter* filter) {
    Log("RemoveFilter(" + NameOf(filter) + ")");
    HRESULT hr = Next(removeFilterResults);
    if (FAILED(hr)) return hr;
    auto it = std::find(filters.begin(), filters.end(), filter);
    if (it == filters.end()) return VFW_E_NOT_FOUND;
    filters.erase(it);
    filter->JoinFilterGraph(nullptr, nullptr);
    return hr;
}

HRESULT FakeGraph::EnumFilters(IEnumFilters** out) {
    if (!out) return E_POINTER;
    *out = new FakeEnumFilters(name + ".filters", journal, static_cast<IGraphBuilder*>(this), filters);
    return S_OK;
}

HRESULT FakeGraph::FindFilterByName(LPCWSTR, IBaseFilter** out) {
    if (out) *out = nullptr;
    return VFW_E_NOT_FOUND;
}

HRESULT FakeGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) {
    Log("ConnectDirect(" + NameOf(out) + "," + NameOf(in) + ")");
    connectDirectHadType = mt != nullptr;
    if (mt) {
        connectDirectType = *mt;
        connectDirectType.pbFormat = nullptr;
        connectDirectType.pUnk = nullptr;
    }
    HRESULT hr = Next(connectDirectResults);
    if (SUCCEEDED(hr)) LinkPins(out, in);
    return hr;
}

HRESULT FakeGraph::Reconnect(IPin* pin) {
    Log("Reconnect(" + NameOf(pin) + ")");
    return S_OK;
}

HRESULT FakeGraph::Disconnect(IPin* pin) {
    Log("Disconnect(" + NameOf(pin) + ")");
    HRESULT hr = Next(disconnectResults);
    if (FAILED(hr)) return hr;
    auto* fake = dynamic_cast<FakePin*>(AsDouble(pin));
    if (fake) {
        if (!fake->peer) return S_FALSE;
        fake->peer = nullptr;
    }
    return hr;
}

HRESULT FakeGraph::SetDefaultSyncSource() { return S_OK; }

HRESULT FakeGraph::Connect(IPin* out, IPin* in) {
    Log("Connect(" + NameOf(out) + "," + NameOf(in) + ")");
    HRESULT hr = Next(connectResults);
    if (SUCCEEDED(hr)) LinkPins(out, in);
    return hr;
}

HRESULT FakeGraph::Render(IPin* out) {
    Log("Render(" + NameOf(out) + ")");
    return E_NOTIMPL;
}

HRESULT FakeGraph::RenderFile(LPCWSTR, LPCWSTR) { return E_NOTIMPL; }

HRESULT FakeGraph::AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

HRESULT FakeGraph::SetLogFile(DWORD_PTR) { return S_OK; }
HRESULT FakeGraph::Abort() { return S_OK; }
HRESULT FakeGraph::ShouldOperationContinue() { return S_OK; }

}  // namespace doubles
