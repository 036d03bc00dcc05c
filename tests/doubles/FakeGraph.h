#pragma once
// The filter graph manager and the platform's capture graph builder.
#include "doubles/FakeFilter.h"
#include <functional>

namespace doubles {

// Records membership and connections but, unlike the platform's graph, takes no
// references: the test owns every filter and pin. Changes are journaled, e.g.
// "graph.Disconnect(cam.out)". With pairsOnly, ConnectDirect connects only the pairs
// given to Allow whose input is still free.
class FakeGraph : public Double<IGraphBuilder> {
public:
    explicit FakeGraph(std::string name = "graph", Journal* journal = nullptr) : Double(std::move(name), journal) {}
    bool Contains(IBaseFilter* filter) const;
    void Allow(IPin* out, IPin* in) { pairsOnly = true, allowed.push_back({out, in}); }

    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) override;
    HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters** out) override;
    HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter** out) override { return *out = nullptr, VFW_E_NOT_FOUND; }
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE Reconnect(IPin*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) override;
    HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Connect(IPin* out, IPin* in) override;
    HRESULT STDMETHODCALLTYPE Render(IPin*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter** out) override { return *out = nullptr, E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLogFile(DWORD_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Abort() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ShouldOperationContinue() override { return S_OK; }

    std::vector<IBaseFilter*> filters;
    // Results handed out in turn by the next calls; S_OK once a queue is empty.
    std::deque<HRESULT> addFilterResults, removeFilterResults, connectDirectResults, connectResults,
        disconnectResults;
    bool pairsOnly = false;
    std::vector<std::pair<IPin*, IPin*>> allowed;

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IFilterGraph ? static_cast<IGraphBuilder*>(this) : Double::Native(iid);
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
    IGraphBuilder* graph = nullptr;
    const IID* iid = nullptr;
    void* out = nullptr;               // the out-pointer argument as passed
    void* out2 = nullptr;              // the second out-pointer of SetOutputFileName
    LPCOLESTR file = nullptr;
    LPCOLESTR file2 = nullptr;
    DWORDLONG size = 0;
    REFERENCE_TIME* start = nullptr;
    REFERENCE_TIME* stop = nullptr;
    WORD startCookie = 0, stopCookie = 0;
    int allowEscAbort = 0;
    IAMCopyCaptureFileProgress* progress = nullptr;
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

    HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override;
    HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** out) override;
    HRESULT STDMETHODCALLTYPE SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** filter,
                                                IFileSinkFilter** sink) override;
    HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                           IBaseFilter* compressor, IBaseFilter* renderer) override;
    HRESULT STDMETHODCALLTYPE ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFERENCE_TIME* start, REFERENCE_TIME* stop, WORD startCookie,
                                            WORD stopCookie) override;
    HRESULT STDMETHODCALLTYPE AllocCapFile(LPCOLESTR file, DWORDLONG size) override;
    HRESULT STDMETHODCALLTYPE CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile, int allowEscAbort,
                                              IAMCopyCaptureFileProgress* progress) override;
    HRESULT STDMETHODCALLTYPE FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                                      const GUID* type, WINBOOL unconnected, int index, IPin** out) override;

    std::vector<BuilderCall> calls;
    std::map<std::string, HRESULT> results;
    IGraphBuilder* graph = nullptr;  // GetFiltergraph hands this out with a reference
    std::function<HRESULT(const BuilderCall&, void** out)> onFindInterface;
    std::function<HRESULT(const BuilderCall&, IPin** out)> onFindPin;
    std::function<HRESULT(const BuilderCall&)> onRenderStream;

private:
    HRESULT Record(const BuilderCall& call);
};

}  // namespace doubles
