#pragma once
// Pins, filters and crossbars. Doubles borrow each other: a pin's peer and filter, a
// filter's pins are plain pointers wired by the test (filter.AddPin, FakePin::Link).
#include "doubles/FakeEnum.h"
#include <deque>
#include <map>

namespace doubles {

// Optional interfaces: IKsPropertySet answering the pin category (hasCategory), IKsPin
// answering KsQueryMediums (hasKsPin). Connect/ReceiveConnection link the pins for a real
// graph; the receiving side accepts while free and `accepts` holds.
class FakePin : public Double<IPin, IKsPropertySet, IKsPin> {
public:
    FakePin(std::string name, PIN_DIRECTION direction, Journal* journal = nullptr)
        : Double(std::move(name), journal), direction(direction) {}
    static void Link(FakePin& a, FakePin& b) { a.peer = &b, b.peer = &a; }

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** out) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* out) override { return *out = direction, S_OK; }
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** out) override;
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndOfStream() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BeginFlush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EndFlush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }
    // IKsPropertySet
    HRESULT STDMETHODCALLTYPE Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceBytes, LPVOID data,
                                  DWORD dataBytes, DWORD* returned) override;
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD, DWORD* support) override {
        return *support = KSPROPERTY_SUPPORT_GET, S_OK;
    }
    // IKsPin: only the mediums
    HRESULT STDMETHODCALLTYPE KsQueryMediums(PKSMULTIPLE_ITEM* list) override;
    HRESULT STDMETHODCALLTYPE KsQueryInterfaces(PKSMULTIPLE_ITEM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KsCreateSinkPinHandle(KSPIN_INTERFACE&, KSPIN_MEDIUM&) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KsGetCurrentCommunication(KSPIN_COMMUNICATION*, KSPIN_INTERFACE*,
                                                        KSPIN_MEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KsPropagateAcquire() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KsDeliver(IMediaSample*, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KsMediaSamplesCompleted(PKSSTREAM_SEGMENT) override { return E_NOTIMPL; }
    IMemAllocator* STDMETHODCALLTYPE KsPeekAllocator(KSPEEKOPERATION) override { return nullptr; }
    HRESULT STDMETHODCALLTYPE KsReceiveAllocator(IMemAllocator*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KsRenegotiateAllocator() override { return E_NOTIMPL; }
    LONG STDMETHODCALLTYPE KsIncrementPendingIoCount() override { return 0; }
    LONG STDMETHODCALLTYPE KsDecrementPendingIoCount() override { return 0; }
    HRESULT STDMETHODCALLTYPE KsQualityNotify(ULONG, REFERENCE_TIME) override { return E_NOTIMPL; }

    PIN_DIRECTION direction;
    IBaseFilter* filter = nullptr;   // set by FakeFilter::AddPin
    IPin* peer = nullptr;
    bool accepts = true;
    HRESULT queryPinInfoResult = S_OK;
    HRESULT enumMediaTypesResult = S_OK;
    std::vector<MediaType> mediaTypes;
    bool hasCategory = false;
    GUID category = GUID_NULL;
    HRESULT categoryResult = S_OK;
    bool hasKsPin = false;
    HRESULT mediumsResult = S_OK;
    std::vector<REGPINMEDIUM> mediums;

protected:
    void* Native(REFIID iid) override;
};

// A filter over its pins (enumerated in the order added). ISpecifyPropertyPages answers
// when propertyPages is set; anything else goes in with Expose.
class FakeFilter : public Double<IBaseFilter, ISpecifyPropertyPages> {
public:
    using Double::Double;
    FakePin& AddPin(FakePin& pin) { pin.filter = this, pins.push_back(&pin); return pin; }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* out) override { return *out = GUID_NULL, S_OK; }
    HRESULT STDMETHODCALLTYPE Stop() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Pause() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* out) override { return *out = State_Stopped, S_OK; }
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** out) override { return *out = nullptr, S_OK; }
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** out) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin** out) override { return *out = nullptr, VFW_E_NOT_FOUND; }
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR joined) override {
        return joinedGraph = graph, joinedName = joined ? joined : L"", S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* out) override;

    std::vector<FakePin*> pins;
    HRESULT enumPinsResult = S_OK;
    IFilterGraph* joinedGraph = nullptr;  // borrowed, as a filter does
    std::wstring joinedName;
    bool propertyPages = false;
    HRESULT getPagesResult = S_OK;
    std::vector<GUID> pages;

protected:
    void* Native(REFIID iid) override;
};

// No behaviour: answers every interface id with itself. For interfaces only held and released.
class FakeUnknown : public ComDouble, public IUnknown {
public:
    using ComDouble::ComDouble;
    DOUBLE_IUNKNOWN

protected:
    void* Native(REFIID) override { return static_cast<IUnknown*>(this); }
};

// IAMCrossbar over a filter of its own whose pins are all inputs, then all outputs. Each
// answers the other's interface and keeps its own count.
struct CrossbarPin {
    LONG physicalType;
    LONG related = -1;
};

class FakeCrossbar : public Double<IAMCrossbar> {
public:
    FakeCrossbar(std::string name, std::vector<CrossbarPin> inputs, std::vector<CrossbarPin> outputs,
                 Journal* journal = nullptr);
    FakePin& Input(size_t i) { return pins[i]; }
    FakePin& Output(size_t i) { return pins[inputs.size() + i]; }

    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* outputCount, LONG* inputCount) override;
    HRESULT STDMETHODCALLTYPE CanRoute(LONG output, LONG input) override;
    HRESULT STDMETHODCALLTYPE Route(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsRoutedTo(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) override;

    std::vector<CrossbarPin> inputs, outputs;
    // (output, input) -> result of CanRoute; pairs not listed are routable (S_OK).
    std::map<std::pair<LONG, LONG>, HRESULT> canRoute;
    HRESULT pinCountsResult = S_OK;
    HRESULT pinInfoResult = S_OK;
    FakeFilter filter;
    std::deque<FakePin> pins;
};

}  // namespace doubles
