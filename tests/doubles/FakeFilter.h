#pragma once
// A filter with a list of pins (borrowed, enumerated in the order added). Optional
// interface: ISpecifyPropertyPages (set propertyPages). Anything else a test needs the
// filter to answer (IAMCrossbar, IAMStreamConfig, ...) goes in with Expose.
#include "doubles/FakePin.h"

namespace doubles {

class FakeFilter : public ComDouble, public IBaseFilter, public ISpecifyPropertyPages {
public:
    explicit FakeFilter(std::string name, Journal* journal = nullptr);
    DOUBLE_IUNKNOWN

    // Adds a pin and makes this its filter.
    FakePin& AddPin(FakePin& pin);

    // IPersist, IMediaFilter
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD timeout, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** out) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** out) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;
    // ISpecifyPropertyPages
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

    std::vector<FakePin*> pins;
    CLSID clsid = GUID_NULL;
    HRESULT enumPinsResult = S_OK;
    IFilterGraph* joinedGraph = nullptr;  // borrowed, as a filter does
    std::wstring joinedName;
    FILTER_STATE state = State_Stopped;
    bool propertyPages = false;
    HRESULT getPagesResult = S_OK;
    std::vector<GUID> pages;

protected:
    void* Native(REFIID iid) override;
};

// An object with no behaviour of its own: it answers QueryInterface for every interface
// id with itself. Stands in for interfaces the code only holds and releases.
class FakeUnknown : public ComDouble, public IUnknown {
public:
    explicit FakeUnknown(std::string name, Journal* journal = nullptr) : ComDouble(std::move(name), journal) {}
    DOUBLE_IUNKNOWN

protected:
    void* Native(REFIID) override { return static_cast<IUnknown*>(this); }
};

}  // namespace doubles
