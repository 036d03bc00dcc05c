#pragma once
// The filter graph manager and the platform's capture graph builder.
#include "doubles/FakeFilter.h"
#include <algorithm>
#include <functional>

namespace doubles {

inline FakePin* AsPin(IPin* pin) { return dynamic_cast<FakePin*>(AsDouble(pin)); }

// Records membership and connections but, unlike the platform's graph, takes no
// references: the test owns every filter and pin. Changes are journaled, e.g.
// "graph.Disconnect(cam.out)". With pairsOnly, ConnectDirect connects only the pairs
// given to Allow whose input is still free.
class FakeGraph : public Double<IGraphBuilder> {
public:
    explicit FakeGraph(std::string name = "graph", Journal* journal = nullptr) : Double(std::move(name), journal) {}
    bool Contains(IBaseFilter* filter) const { return std::count(filters.begin(), filters.end(), filter) > 0; }
    void Allow(IPin* out, IPin* in) { pairsOnly = true, allowed.push_back({out, in}); }

    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override {
        Log("AddFilter(" + NameOf(filter) + ")");
        HRESULT hr = Next(addFilterResults);
        if (SUCCEEDED(hr)) filters.push_back(filter), filter->JoinFilterGraph(this, name);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) override {
        Log("RemoveFilter(" + NameOf(filter) + ")");
        HRESULT hr = Next(removeFilterResults);
        if (FAILED(hr) || !Contains(filter)) return FAILED(hr) ? hr : VFW_E_NOT_FOUND;
        filters.erase(std::find(filters.begin(), filters.end(), filter));
        return filter->JoinFilterGraph(nullptr, nullptr), hr;
    }
    HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter** out) override { return *out = nullptr, VFW_E_NOT_FOUND; }
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE*) override {
        Log("ConnectDirect(" + NameOf(out) + "," + NameOf(in) + ")");
        if (pairsOnly && (!std::count(allowed.begin(), allowed.end(), std::make_pair(out, in)) ||
                          (AsPin(in) && AsPin(in)->peer)))
            return VFW_E_NO_ACCEPTABLE_TYPES;
        HRESULT hr = Next(connectDirectResults);
        if (SUCCEEDED(hr) && AsPin(out) && AsPin(in)) FakePin::Link(*AsPin(out), *AsPin(in));
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) override {
        Log("Disconnect(" + NameOf(pin) + ")");
        HRESULT hr = Next(disconnectResults);
        if (FAILED(hr) || !AsPin(pin)) return hr;
        return AsPin(pin)->peer ? (AsPin(pin)->peer = nullptr, hr) : S_FALSE;
    }
    // Not used by the program.
    DOUBLE_STUB(EnumFilters, (IEnumFilters**), E_NOTIMPL) DOUBLE_STUB(Reconnect, (IPin*), E_NOTIMPL)
    DOUBLE_STUB(SetDefaultSyncSource, (), S_OK) DOUBLE_STUB(Connect, (IPin*, IPin*), E_NOTIMPL)
    DOUBLE_STUB(Render, (IPin*), E_NOTIMPL) DOUBLE_STUB(RenderFile, (LPCWSTR, LPCWSTR), E_NOTIMPL)
    DOUBLE_STUB(AddSourceFilter, (LPCWSTR, LPCWSTR, IBaseFilter**), E_NOTIMPL) DOUBLE_STUB(SetLogFile, (DWORD_PTR), S_OK)
    DOUBLE_STUB(Abort, (), S_OK) DOUBLE_STUB(ShouldOperationContinue, (), S_OK)

    std::vector<IBaseFilter*> filters;
    // Results handed out in turn by the next calls; S_OK once a queue is empty.
    std::deque<HRESULT> addFilterResults, removeFilterResults, connectDirectResults, disconnectResults;
    bool pairsOnly = false;
    std::vector<std::pair<IPin*, IPin*>> allowed;

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IFilterGraph ? static_cast<IGraphBuilder*>(this) : Double::Native(iid);
    }
    static HRESULT Next(std::deque<HRESULT>& queue) {
        HRESULT hr = queue.empty() ? S_OK : queue.front();
        if (!queue.empty()) queue.pop_front();
        return hr;
    }
};

// One call the platform builder saw, its arguments kept as given (no references taken).
struct BuilderCall {
    std::string method;
    const GUID* category = nullptr;
    const GUID* type = nullptr;
    IUnknown* source = nullptr;
    IBaseFilter* filter = nullptr;     // FindInterface / ControlStream filter, compressor
    IBaseFilter* renderer = nullptr;
    const IID* iid = nullptr;
    void* out = nullptr;               // the out-pointer argument as passed
    void* out2 = nullptr;              // the second out-pointer of SetOutputFileName
    LPCOLESTR file = nullptr;
    PIN_DIRECTION direction = PINDIR_INPUT;
    BOOL unconnected = FALSE;
    int index = 0;
};

// ICaptureGraphBuilder2: records every call in calls, journals its name and returns
// results["Method"] (S_OK when not listed). The hooks, when set, decide FindInterface,
// FindPin and RenderStream instead and must hand out references as the platform does.
class FakeCaptureGraphBuilder : public Double<ICaptureGraphBuilder2> {
public:
    explicit FakeCaptureGraphBuilder(std::string name = "builder", Journal* journal = nullptr)
        : Double(std::move(name), journal) {}

    HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder*) override { return Record({"SetFiltergraph"}); }
    HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** out) override {
        BuilderCall c{"GetFiltergraph"};
        c.out = out;
        HRESULT hr = Record(c);
        return (*out = SUCCEEDED(hr) ? graph : nullptr) ? graph->AddRef() : 0, hr;
    }
    HRESULT STDMETHODCALLTYPE SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** filter,
                                                IFileSinkFilter** sink) override {
        BuilderCall c{"SetOutputFileName", nullptr, type};
        c.file = file, c.out = filter, c.out2 = sink;
        return Record(c);
    }
    HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFIID iid, void** out) override {
        BuilderCall c{"FindInterface", category, type, nullptr, filter};
        c.iid = &iid, c.out = out, *out = nullptr;
        HRESULT hr = Record(c);
        return onFindInterface ? onFindInterface(calls.back(), out) : hr;
    }
    HRESULT STDMETHODCALLTYPE RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                           IBaseFilter* compressor, IBaseFilter* renderer) override {
        HRESULT hr = Record({"RenderStream", category, type, source, compressor, renderer});
        return onRenderStream ? onRenderStream(calls.back()) : hr;
    }
    HRESULT STDMETHODCALLTYPE ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFERENCE_TIME*, REFERENCE_TIME*, WORD, WORD) override {
        return Record({"ControlStream", category, type, nullptr, filter});
    }
    HRESULT STDMETHODCALLTYPE AllocCapFile(LPCOLESTR, DWORDLONG) override { return Record({"AllocCapFile"}); }
    HRESULT STDMETHODCALLTYPE CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*) override {
        return Record({"CopyCaptureFile"});
    }
    HRESULT STDMETHODCALLTYPE FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                                      const GUID* type, WINBOOL unconnected, int index, IPin** out) override {
        BuilderCall c{"FindPin", category, type, source};
        c.direction = direction, c.unconnected = unconnected, c.index = index, c.out = out, *out = nullptr;
        HRESULT hr = Record(c);
        return onFindPin ? onFindPin(calls.back(), out) : hr;
    }

    std::vector<BuilderCall> calls;
    std::map<std::string, HRESULT> results;
    IGraphBuilder* graph = nullptr;  // GetFiltergraph hands this out with a reference
    std::function<HRESULT(const BuilderCall&, void** out)> onFindInterface;
    std::function<HRESULT(const BuilderCall&, IPin** out)> onFindPin;
    std::function<HRESULT(const BuilderCall&)> onRenderStream;

private:
    HRESULT Record(const BuilderCall& call) {
        Log(call.method);
        calls.push_back(call);
        return results.count(call.method) ? results[call.method] : S_OK;
    }
};

}  // namespace doubles
