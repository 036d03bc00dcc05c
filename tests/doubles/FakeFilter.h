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
    HRESULT STDMETHODCALLTYPE Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override {
        HRESULT hr = receive->ReceiveConnection(this, mt);
        if (SUCCEEDED(hr)) peer = receive;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE*) override {
        return !accepts || peer ? VFW_E_NO_ACCEPTABLE_TYPES : (peer = connector, S_OK);
    }
    HRESULT STDMETHODCALLTYPE Disconnect() override {
        Log("Disconnect");
        return peer ? (peer = nullptr, S_OK) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** out) override {
        return (*out = peer) ? (peer->AddRef(), S_OK) : VFW_E_NOT_CONNECTED;
    }
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override {
        if (FAILED(queryPinInfoResult)) return queryPinInfoResult;
        if ((info->pFilter = filter)) filter->AddRef();
        info->dir = direction;
        lstrcpynW(info->achName, Wide(name).c_str(), MAX_PIN_NAME);
        return queryPinInfoResult;
    }
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* out) override { return *out = direction, S_OK; }
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** out) override;
    // Not used by the program.
    DOUBLE_STUB(ConnectionMediaType, (AM_MEDIA_TYPE*), E_NOTIMPL) DOUBLE_STUB(QueryId, (LPWSTR*), E_NOTIMPL)
    DOUBLE_STUB(QueryAccept, (const AM_MEDIA_TYPE*), S_FALSE) DOUBLE_STUB(EndOfStream, (), S_OK)
    DOUBLE_STUB(QueryInternalConnections, (IPin**, ULONG*), E_NOTIMPL) DOUBLE_STUB(BeginFlush, (), S_OK)
    DOUBLE_STUB(EndFlush, (), S_OK) DOUBLE_STUB(NewSegment, (REFERENCE_TIME, REFERENCE_TIME, double), S_OK)
    DOUBLE_STUB(Set, (REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD), E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataBytes,
                                  DWORD* returned) override {
        if (set != AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY || dataBytes < sizeof(GUID)) return E_PROP_ID_UNSUPPORTED;
        if (SUCCEEDED(categoryResult)) *static_cast<GUID*>(data) = category;
        if (returned) *returned = sizeof(GUID);
        return categoryResult;
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD, DWORD* support) override {
        return *support = KSPROPERTY_SUPPORT_GET, S_OK;
    }
    // IKsPin: only the mediums
    // One KSMULTIPLE_ITEM header followed by the mediums, as the kernel streaming proxy hands it out.
    HRESULT STDMETHODCALLTYPE KsQueryMediums(PKSMULTIPLE_ITEM* list) override {
        *list = nullptr;
        if (FAILED(mediumsResult)) return mediumsResult;
        size_t bytes = sizeof(KSMULTIPLE_ITEM) + mediums.size() * sizeof(REGPINMEDIUM);
        if (!(*list = static_cast<KSMULTIPLE_ITEM*>(TaskAlloc(bytes)))) return E_OUTOFMEMORY;
        **list = {static_cast<ULONG>(bytes), static_cast<ULONG>(mediums.size())};
        std::copy(mediums.begin(), mediums.end(), reinterpret_cast<REGPINMEDIUM*>(*list + 1));
        return mediumsResult;
    }
    DOUBLE_STUB(KsQueryInterfaces, (PKSMULTIPLE_ITEM*), E_NOTIMPL) DOUBLE_STUB(KsPropagateAcquire, (), E_NOTIMPL)
    DOUBLE_STUB(KsCreateSinkPinHandle, (KSPIN_INTERFACE&, KSPIN_MEDIUM&), E_NOTIMPL)
    DOUBLE_STUB(KsGetCurrentCommunication, (KSPIN_COMMUNICATION*, KSPIN_INTERFACE*, KSPIN_MEDIUM*), E_NOTIMPL)
    DOUBLE_STUB(KsDeliver, (IMediaSample*, ULONG), E_NOTIMPL) DOUBLE_STUB(KsRenegotiateAllocator, (), E_NOTIMPL)
    DOUBLE_STUB(KsMediaSamplesCompleted, (PKSSTREAM_SEGMENT), E_NOTIMPL)
    DOUBLE_STUB(KsReceiveAllocator, (IMemAllocator*), E_NOTIMPL) DOUBLE_STUB(KsQualityNotify, (ULONG, REFERENCE_TIME), E_NOTIMPL)
    IMemAllocator* STDMETHODCALLTYPE KsPeekAllocator(KSPEEKOPERATION) override { return nullptr; }
    LONG STDMETHODCALLTYPE KsIncrementPendingIoCount() override { return 0; }
    LONG STDMETHODCALLTYPE KsDecrementPendingIoCount() override { return 0; }

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
    void* Native(REFIID iid) override {
        if ((iid == IID_IKsPropertySet && !hasCategory) || (iid == __uuidof(IKsPin) && !hasKsPin)) return nullptr;
        return Double::Native(iid);
    }
};

// Copies of its pin's media types, handed out task-allocated; holds a reference on the pin.
struct FakeEnumMediaTypes : FakeEnum<IEnumMediaTypes, AM_MEDIA_TYPE, MediaType> {
    explicit FakeEnumMediaTypes(FakePin* pin)
        : FakeEnum(pin->name + ".mediaTypes", pin->journal, static_cast<IPin*>(pin), pin->mediaTypes) {}
};

inline HRESULT FakePin::EnumMediaTypes(IEnumMediaTypes** out) {
    *out = FAILED(enumMediaTypesResult) ? nullptr : new FakeEnumMediaTypes(this);
    return enumMediaTypesResult;
}

// A filter over its pins (enumerated in the order added). ISpecifyPropertyPages answers
// when propertyPages is set; anything else goes in with Expose.
class FakeFilter : public Double<IBaseFilter, ISpecifyPropertyPages> {
public:
    using Double::Double;
    FakePin& AddPin(FakePin& pin) { pin.filter = this, pins.push_back(&pin); return pin; }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* out) override { return *out = GUID_NULL, S_OK; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* out) override { return *out = State_Stopped, S_OK; }
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** out) override { return *out = nullptr, S_OK; }
    DOUBLE_STUB(Stop, (), S_OK) DOUBLE_STUB(Pause, (), S_OK) DOUBLE_STUB(Run, (REFERENCE_TIME), S_OK)
    DOUBLE_STUB(SetSyncSource, (IReferenceClock*), S_OK) DOUBLE_STUB(QueryVendorInfo, (LPWSTR*), E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** out) override {
        *out = FAILED(enumPinsResult) ? nullptr
             : new FakeEnumPins(name + ".pins", journal, static_cast<IBaseFilter*>(this), std::vector<IPin*>(pins.begin(), pins.end()));
        return enumPinsResult;
    }
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin** out) override { return *out = nullptr, VFW_E_NOT_FOUND; }
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override {
        lstrcpynW(info->achName, (joinedName.empty() ? Wide(name) : joinedName).c_str(), MAX_FILTER_NAME);
        return (info->pGraph = joinedGraph) ? joinedGraph->AddRef() : 0, S_OK;
    }
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR joined) override {
        return joinedGraph = graph, joinedName = joined ? joined : L"", S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* out) override {
        *out = CAUUID{0, nullptr};
        if (FAILED(getPagesResult) || pages.empty()) return getPagesResult;
        if (!(out->pElems = static_cast<GUID*>(TaskAlloc(pages.size() * sizeof(GUID))))) return E_OUTOFMEMORY;
        out->cElems = static_cast<ULONG>(std::copy(pages.begin(), pages.end(), out->pElems) - out->pElems);
        return getPagesResult;
    }

    std::vector<FakePin*> pins;
    HRESULT enumPinsResult = S_OK;
    IFilterGraph* joinedGraph = nullptr;  // borrowed, as a filter does
    std::wstring joinedName;
    bool propertyPages = false;
    HRESULT getPagesResult = S_OK;
    std::vector<GUID> pages;

protected:
    void* Native(REFIID iid) override {
        if (iid == IID_IPersist || iid == IID_IMediaFilter) return static_cast<IBaseFilter*>(this);
        return iid == IID_ISpecifyPropertyPages && !propertyPages ? nullptr : Double::Native(iid);
    }
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
                 Journal* journal = nullptr)
        : Double(name, journal), inputs(inputs), outputs(outputs), filter(name + ".filter", journal) {
        for (size_t i = 0; i < inputs.size() + outputs.size(); ++i) {
            bool in = i < inputs.size();
            std::string pin = name + (in ? ".in" + std::to_string(i) : ".out" + std::to_string(i - inputs.size()));
            filter.AddPin(pins.emplace_back(pin, in ? PINDIR_INPUT : PINDIR_OUTPUT, journal));
        }
        filter.Expose(IID_IAMCrossbar, static_cast<IAMCrossbar*>(this));
        Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
    }
    FakePin& Input(size_t i) { return pins[i]; }
    FakePin& Output(size_t i) { return pins[inputs.size() + i]; }

    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* outputCount, LONG* inputCount) override {
        *outputCount = static_cast<LONG>(outputs.size()), *inputCount = static_cast<LONG>(inputs.size());
        return pinCountsResult;
    }
    HRESULT STDMETHODCALLTYPE CanRoute(LONG output, LONG input) override {
        auto it = canRoute.find({output, input});
        return it == canRoute.end() ? S_OK : it->second;
    }
    DOUBLE_STUB(Route, (LONG, LONG), E_NOTIMPL) DOUBLE_STUB(get_IsRoutedTo, (LONG, LONG*), E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) override {
        const auto& list = isInput ? inputs : outputs;
        if (index < 0 || size_t(index) >= list.size()) return E_INVALIDARG;
        *related = list[index].related, *type = list[index].physicalType;
        return pinInfoResult;
    }

    std::vector<CrossbarPin> inputs, outputs;
    // (output, input) -> result of CanRoute; pairs not listed are routable (S_OK).
    std::map<std::pair<LONG, LONG>, HRESULT> canRoute;
    HRESULT pinCountsResult = S_OK;
    HRESULT pinInfoResult = S_OK;
    FakeFilter filter;
    std::deque<FakePin> pins;
};

}  // namespace doubles
