#pragma once
// A filter graph manager (IGraphBuilder, IFilterGraph). It records membership and
// connections but takes no references on filters or pins: the test owns them. Every
// call that changes the graph is journaled, e.g. "graph.Disconnect(cam.out)".
#include "doubles/FakeFilter.h"
#include <deque>

namespace doubles {

class FakeGraph : public ComDouble, public IGraphBuilder {
public:
    explicit FakeGraph(std::string name = "graph", Journal* journal = nullptr);
    DOUBLE_IUNKNOWN

    bool Contains(IBaseFilter* filter) const;

    // IFilterGraph
    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) override;
    HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters** out) override;
    HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR name, IBaseFilter** out) override;
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE Reconnect(IPin* pin) override;
    HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) override;
    HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override;
    // IGraphBuilder
    HRESULT STDMETHODCALLTYPE Connect(IPin* out, IPin* in) override;
    HRESULT STDMETHODCALLTYPE Render(IPin* out) override;
    HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) override;
    HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR file, LPCWSTR name, IBaseFilter** out) override;
    HRESULT STDMETHODCALLTYPE SetLogFile(DWORD_PTR file) override;
    HRESULT STDMETHODCALLTYPE Abort() override;
    HRESULT STDMETHODCALLTYPE ShouldOperationContinue() override;

    std::vector<IBaseFilter*> filters;
    // Results handed out in turn by the next calls; S_OK once a queue is empty.
    std::deque<HRESULT> addFilterResults;
    std::deque<HRESULT> removeFilterResults;
    std::deque<HRESULT> connectDirectResults;
    std::deque<HRESULT> connectResults;
    std::deque<HRESULT> disconnectResults;
    // Media type of the last ConnectDirect (copied without its format block).
    bool connectDirectHadType = false;
    AM_MEDIA_TYPE connectDirectType{};

protected:
    void* Native(REFIID iid) override;
    static HRESULT Next(std::deque<HRESULT>& queue);
};

}  // namespace doubles
