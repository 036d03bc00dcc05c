#include "doubles/FakeGraph.h"
#include <algorithm>

namespace doubles {
namespace {

HRESULT Next(std::deque<HRESULT>& queue) {
    if (queue.empty()) return S_OK;
    HRESULT hr = queue.front();
    queue.pop_front();
    return hr;
}

FakePin* AsPin(IPin* pin) { return dynamic_cast<FakePin*>(AsDouble(pin)); }

// Links two fake pins both ways; foreign pins are left alone.
void LinkPins(IPin* a, IPin* b) {
    if (AsPin(a) && AsPin(b)) FakePin::Link(*AsPin(a), *AsPin(b));
}

}  // namespace

bool FakeGraph::Contains(IBaseFilter* filter) const {
    return std::find(filters.begin(), filters.end(), filter) != filters.end();
}

HRESULT FakeGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
    Log("AddFilter(" + NameOf(filter) + ")");
    HRESULT hr = Next(addFilterResults);
    if (FAILED(hr)) return hr;
    filters.push_back(filter);
    filter->JoinFilterGraph(this, name);
    return hr;
}

HRESULT FakeGraph::RemoveFilter(IBaseFilter* filter) {
    Log("RemoveFilter(" + NameOf(filter) + ")");
    HRESULT hr = Next(removeFilterResults);
    if (FAILED(hr)) return hr;
    if (!Contains(filter)) return VFW_E_NOT_FOUND;
    filters.erase(std::find(filters.begin(), filters.end(), filter));
    filter->JoinFilterGraph(nullptr, nullptr);
    return hr;
}

HRESULT FakeGraph::EnumFilters(IEnumFilters** out) {
    return *out = new FakeEnumFilters(name + ".filters", journal, static_cast<IGraphBuilder*>(this), filters), S_OK;
}

HRESULT FakeGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE*) {
    Log("ConnectDirect(" + NameOf(out) + "," + NameOf(in) + ")");
    if (pairsOnly && (std::find(allowed.begin(), allowed.end(), std::make_pair(out, in)) == allowed.end() ||
                      (AsPin(in) && AsPin(in)->peer)))
        return VFW_E_NO_ACCEPTABLE_TYPES;
    HRESULT hr = Next(connectDirectResults);
    if (SUCCEEDED(hr)) LinkPins(out, in);
    return hr;
}

HRESULT FakeGraph::Disconnect(IPin* pin) {
    Log("Disconnect(" + NameOf(pin) + ")");
    HRESULT hr = Next(disconnectResults);
    if (FAILED(hr) || !AsPin(pin)) return hr;
    if (!AsPin(pin)->peer) return S_FALSE;
    AsPin(pin)->peer = nullptr;
    return hr;
}

HRESULT FakeGraph::Connect(IPin* out, IPin* in) {
    Log("Connect(" + NameOf(out) + "," + NameOf(in) + ")");
    HRESULT hr = Next(connectResults);
    if (SUCCEEDED(hr)) LinkPins(out, in);
    return hr;
}

HRESULT FakeCaptureGraphBuilder::Record(const BuilderCall& call) {
    Log(call.method);
    calls.push_back(call);
    auto it = results.find(call.method);
    return it == results.end() ? S_OK : it->second;
}

HRESULT FakeCaptureGraphBuilder::SetFiltergraph(IGraphBuilder* g) {
    BuilderCall c{"SetFiltergraph"};
    c.graph = g;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::GetFiltergraph(IGraphBuilder** out) {
    BuilderCall c{"GetFiltergraph"};
    c.out = out;
    HRESULT hr = Record(c);
    if ((*out = SUCCEEDED(hr) ? graph : nullptr)) graph->AddRef();
    return hr;
}

HRESULT FakeCaptureGraphBuilder::SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** filter,
                                                   IFileSinkFilter** sink) {
    BuilderCall c{"SetOutputFileName", nullptr, type};
    c.file = file, c.out = filter, c.out2 = sink;
    if (filter) *filter = nullptr;
    if (sink) *sink = nullptr;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                               REFIID iid, void** out) {
    BuilderCall c{"FindInterface", category, type};
    c.filter = filter, c.iid = &iid, c.out = out;
    *out = nullptr;
    HRESULT hr = Record(c);
    return onFindInterface ? onFindInterface(calls.back(), out) : hr;
}

HRESULT FakeCaptureGraphBuilder::RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                              IBaseFilter* compressor, IBaseFilter* renderer) {
    BuilderCall c{"RenderStream", category, type, source, compressor, renderer};
    HRESULT hr = Record(c);
    return onRenderStream ? onRenderStream(calls.back()) : hr;
}

HRESULT FakeCaptureGraphBuilder::ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                               REFERENCE_TIME* start, REFERENCE_TIME* stop, WORD startCookie,
                                               WORD stopCookie) {
    BuilderCall c{"ControlStream", category, type, nullptr, filter};
    c.start = start, c.stop = stop, c.startCookie = startCookie, c.stopCookie = stopCookie;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::AllocCapFile(LPCOLESTR file, DWORDLONG size) {
    BuilderCall c{"AllocCapFile"};
    c.file = file, c.size = size;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile, int allowEscAbort,
                                                 IAMCopyCaptureFileProgress* progress) {
    BuilderCall c{"CopyCaptureFile"};
    c.file = oldFile, c.file2 = newFile, c.allowEscAbort = allowEscAbort, c.progress = progress;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                                         const GUID* type, WINBOOL unconnected, int index, IPin** out) {
    BuilderCall c{"FindPin", category, type, source};
    c.direction = direction, c.unconnected = unconnected, c.index = index, c.out = out;
    *out = nullptr;
    HRESULT hr = Record(c);
    return onFindPin ? onFindPin(calls.back(), out) : hr;
}

}  // namespace doubles
