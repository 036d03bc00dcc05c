#pragma once
// COM doubles for what Wine does not have: pins with a category or kernel-streaming
// mediums (analog video input, VBI, closed captions), crossbars, the MPEG-2
// demultiplexer, encoders, multiplexers and the dump filter. Everything else comes from
// Wine: device enumerator, monikers, property bags, filter graph, capture graph builder.
//
// Each double counts its references. One made by a test starts with one reference, the
// test's, and must be back at it (its baseline) when a test asks Unbalanced() and when it is
// destroyed; a Release below it fails the test at once. Doubles borrow each other (a
// pin's filter and peer); enumerators live on the heap and hold their owner.
#include <algorithm>
#include <deque>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Seam.h"

// The headers give this interface no __uuidof.
template <>
inline const GUID& __mingw_uuidof<IMPEG2StreamIdMap>() { return IID_IMPEG2StreamIdMap; }

namespace hooks {
// Whether code of this program (not of Wine or the demo camera) made the call, and the
// calls of Wine's own that are passing through hooked objects now.
bool FromProgram(void* caller);
extern int platformCalls;
}

namespace doubles {

class ComDouble {
public:
    explicit ComDouble(std::string name);
    virtual ~ComDouble();
    // QueryInterface for iid answers with object.
    void Expose(REFIID iid, IUnknown* object) { exposed.push_back({iid, object}); }

    std::string name;
    LONG refs = 1;
    LONG baseline = 1;  // what the test expects it to hold between uses
    bool heap = false;

protected:
    virtual void* Native(REFIID iid) = 0;
    HRESULT DoQueryInterface(REFIID iid, void** out);
    ULONG DoAddRef() { return ++refs; }
    ULONG DoRelease();
    // A heap double's last reference is gone: it is destroyed, unless it stays to watch.
    virtual void Gone() { delete this; }
    // Leaves the doubles that must be back at their baseline.
    void Forget();

private:
    std::vector<std::pair<IID, IUnknown*>> exposed;
};

#define DOUBLE_IUNKNOWN                                                                         \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return DoQueryInterface(iid, out); } \
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }                            \
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }
// A method nothing calls.
#define STUB(name, params, answer) HRESULT STDMETHODCALLTYPE name params override { return answer; }

// A double of the interfaces First, Rest...; IUnknown answers with First.
template <class First, class... Rest>
class Double : public ComDouble, public First, public Rest... {
public:
    using ComDouble::ComDouble;
    DOUBLE_IUNKNOWN

protected:
    void* Native(REFIID iid) override {
        void* found = iid == IID_IUnknown || iid == __uuidof(First) ? static_cast<First*>(this) : nullptr;
        ((found = found ? found : iid == __uuidof(Rest) ? static_cast<Rest*>(this) : nullptr), ...);
        return found;
    }
};

// The double an object is, or null; its name, "-" for null, platformName for an object
// that is not a double.
ComDouble* DoubleOf(IUnknown* object);
std::string NameOf(IUnknown* object, const char* platformName = "?");
// Every double alive is at its baseline and no heap double is left; else what is wrong.
std::string Unbalanced();
#define EXPECT_BALANCED() EXPECT_EQ(::doubles::Unbalanced(), "")

// Task memory the doubles hand out (media types, medium and page lists) and no one freed.
void* TaskAlloc(size_t bytes);
int TaskBlocksOutstanding();
AM_MEDIA_TYPE* NewMediaType(const GUID& major, const GUID& sub);

// A heap enumerator over interface pointers or media types (by major and subtype).
template <class IEnum, class Item, class Held>
class Enumerator : public Double<IEnum> {
public:
    Enumerator(IUnknown* owner, std::vector<Held> items) : Double<IEnum>("enum"), owner(owner), items(items) {
        this->heap = true, owner->AddRef();
    }
    ~Enumerator() override { owner->Release(); }
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, Item** out, ULONG* fetched) override {
        ULONG n = 0;
        for (; n < wanted && position < items.size(); ++n, ++position) {
            if constexpr (std::is_same_v<Item, AM_MEDIA_TYPE>) out[n] = NewMediaType(items[position].first, items[position].second);
            else (out[n] = items[position])->AddRef();
        }
        if (fetched) *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override { return position = 0, S_OK; }
    STUB(Skip, (ULONG), E_NOTIMPL) STUB(Clone, (IEnum**), E_NOTIMPL)

    IUnknown* owner;
    std::vector<Held> items;
    size_t position = 0;
};

// A pin. Its category (IKsPropertySet) answers when set; its mediums (IKsPin) when ksPin.
class FakePin : public Double<IPin, IKsPropertySet, IKsPin> {
public:
    FakePin(std::string name, PIN_DIRECTION direction, const GUID& category = GUID_NULL)
        : Double(name), direction(direction), category(category) {}

    // Only an output connects, only an input receives a connection.
    HRESULT STDMETHODCALLTYPE Connect(IPin* to, const AM_MEDIA_TYPE* type) override {
        HRESULT hr = direction != PINDIR_OUTPUT ? VFW_E_INVALID_DIRECTION
                     : peer                     ? VFW_E_ALREADY_CONNECTED
                                                : to->ReceiveConnection(this, type);
        if (SUCCEEDED(hr)) Hold(peer = to, +1);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* from, const AM_MEDIA_TYPE*) override {
        if (direction != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
        return peer ? VFW_E_ALREADY_CONNECTED : (Hold(peer = from, +1), S_OK);
    }
    HRESULT STDMETHODCALLTYPE Disconnect() override {
        return peer && !clings ? (Hold(peer, -1), peer = nullptr, S_OK) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** out) override {
        if (programOnly && (hooks::platformCalls || !hooks::FromProgram(__builtin_return_address(0)))) return *out = nullptr, VFW_E_NOT_CONNECTED;
        return (*out = peer) ? (peer->AddRef(), S_OK) : VFW_E_NOT_CONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override {
        return *type = AM_MEDIA_TYPE{}, peer ? S_OK : VFW_E_NOT_CONNECTED;
    }
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* out) override { return *out = direction, S_OK; }
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override {
        *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(WCHAR) * 64));
        return MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, *id, 64), S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** out) override;
    STUB(QueryAccept, (const AM_MEDIA_TYPE*), S_OK) STUB(QueryInternalConnections, (IPin**, ULONG*), E_NOTIMPL)
    STUB(EndOfStream, (), S_OK) STUB(BeginFlush, (), S_OK) STUB(EndFlush, (), S_OK)
    STUB(NewSegment, (REFERENCE_TIME, REFERENCE_TIME, double), S_OK)
    // IKsPropertySet: the pin category only.
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) override {
        if (set != AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY || size < sizeof(GUID)) return E_PROP_ID_UNSUPPORTED;
        return *static_cast<GUID*>(data) = category, returned ? *returned = sizeof(GUID) : 0, S_OK;
    }
    STUB(Set, (REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD), E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD, DWORD* how) override { return *how = KSPROPERTY_SUPPORT_GET, S_OK; }
    // IKsPin: a KSMULTIPLE_ITEM header followed by the mediums, as the proxy hands them out;
    // its size may cover fewer of them than its count says.
    HRESULT STDMETHODCALLTYPE KsQueryMediums(PKSMULTIPLE_ITEM* list) override {
        ULONG bytes = ULONG(sizeof(KSMULTIPLE_ITEM) + mediums.size() * sizeof(REGPINMEDIUM));
        *list = static_cast<KSMULTIPLE_ITEM*>(TaskAlloc(bytes));
        **list = {ULONG(sizeof(KSMULTIPLE_ITEM) + std::min(mediumsInSize, mediums.size()) * sizeof(REGPINMEDIUM)), ULONG(mediums.size())};
        return std::copy(mediums.begin(), mediums.end(), reinterpret_cast<REGPINMEDIUM*>(*list + 1)), S_OK;
    }
    STUB(KsQueryInterfaces, (PKSMULTIPLE_ITEM*), E_NOTIMPL) STUB(KsCreateSinkPinHandle, (KSPIN_INTERFACE&, KSPIN_MEDIUM&), E_NOTIMPL)
    STUB(KsGetCurrentCommunication, (KSPIN_COMMUNICATION*, KSPIN_INTERFACE*, KSPIN_MEDIUM*), E_NOTIMPL)
    STUB(KsPropagateAcquire, (), E_NOTIMPL) STUB(KsDeliver, (IMediaSample*, ULONG), E_NOTIMPL)
    STUB(KsMediaSamplesCompleted, (PKSSTREAM_SEGMENT), E_NOTIMPL) STUB(KsRenegotiateAllocator, (), E_NOTIMPL)
    STUB(KsReceiveAllocator, (IMemAllocator*), E_NOTIMPL) STUB(KsQualityNotify, (ULONG, REFERENCE_TIME), E_NOTIMPL)
    IMemAllocator* STDMETHODCALLTYPE KsPeekAllocator(KSPEEKOPERATION) override { return nullptr; }
    LONG STDMETHODCALLTYPE KsIncrementPendingIoCount() override { return 0; }
    LONG STDMETHODCALLTYPE KsDecrementPendingIoCount() override { return 0; }

    PIN_DIRECTION direction;
    GUID category;
    IBaseFilter* filter = nullptr;
    IPin* peer = nullptr;
    std::vector<std::pair<GUID, GUID>> mediaTypes;  // major and subtype
    bool ksPin = false;
    std::vector<REGPINMEDIUM> mediums;
    size_t mediumsInSize = SIZE_MAX;
    bool programOnly = false;  // connected as the program sees it; the platform's searches do not
    // A pin whose information names a new filter each time, one that has that pin twice and
    // lives as long as its references; a pin that keeps its peer, disconnected or not.
    FakePin* spawns = nullptr;
    bool clings = false;

protected:
    // A pin holds its peer while connected: a peer that lives only as long as its references
    // (a new pin each time) is held.
    static void Hold(IPin* pin, int change) {
        if (ComDouble* d = DoubleOf(pin); d && d->heap) change > 0 ? pin->AddRef() : pin->Release();
    }
    void* Native(REFIID iid) override {
        if ((iid == IID_IKsPropertySet && category == GUID_NULL) || (iid == __uuidof(IKsPin) && !ksPin)) return nullptr;
        return Double::Native(iid);
    }
};

// A filter over its pins, enumerated in the order added; its property pages answer when
// it has any.
class FakeFilter : public Double<IBaseFilter, ISpecifyPropertyPages> {
public:
    template <class... Pins>
    FakeFilter(std::string name, Pins&... added) : Double(name) { (AddPin(added), ...); }
    FakePin& AddPin(FakePin& pin) { return pin.filter = this, pins.push_back(&pin), pin; }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* out) override { return *out = GUID_NULL, S_OK; }
    STUB(Stop, (), S_OK) STUB(Pause, (), S_OK) STUB(Run, (REFERENCE_TIME), S_OK) STUB(SetSyncSource, (IReferenceClock*), S_OK)
    HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* out) override { return *out = State_Stopped, S_OK; }
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** out) override { return *out = nullptr, S_OK; }
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** out) override {
        return *out = new Enumerator<IEnumPins, IPin, IPin*>(static_cast<IBaseFilter*>(this), {pins.begin(), pins.end()}), S_OK;
    }
    STUB(FindPin, (LPCWSTR, IPin**), E_NOTIMPL) STUB(QueryVendorInfo, (LPWSTR*), E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override {
        MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, info->achName, MAX_FILTER_NAME);
        if ((info->pGraph = graph)) graph->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* joined, LPCWSTR) override { return graph = joined, S_OK; }
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* out) override {
        out->cElems = static_cast<ULONG>(pages.size());
        out->pElems = static_cast<GUID*>(TaskAlloc(pages.size() * sizeof(GUID)));
        for (size_t i = 0; i < pages.size(); ++i) out->pElems[i] = pages[i];
        return S_OK;
    }

    std::vector<FakePin*> pins;
    std::vector<GUID> pages;
    IFilterGraph* graph = nullptr;  // borrowed, as a filter does

protected:
    void* Native(REFIID iid) override {
        if (iid == IID_IPersist || iid == IID_IMediaFilter) return static_cast<IBaseFilter*>(this);
        return iid == IID_ISpecifyPropertyPages && pages.empty() ? nullptr : Double::Native(iid);
    }
};

// IAMCrossbar over a filter of its own whose pins are all inputs (of the physical types
// given), then one video decoder output.
class FakeCrossbar : public Double<IAMCrossbar> {
public:
    FakeCrossbar(std::string name, std::vector<LONG> inputTypes);
    FakePin& Input(size_t i) { return pins[i]; }
    FakePin& Output() { return pins.back(); }

    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* out, LONG* in) override {
        return *out = 1, *in = claimedInputs != noClaim ? claimedInputs : LONG(inputTypes.size()), S_OK;
    }
    STUB(CanRoute, (LONG, LONG), S_OK) STUB(Route, (LONG, LONG), S_OK) STUB(get_IsRoutedTo, (LONG, LONG*), E_NOTIMPL)
    // Answers for any index, as a driver that does not check it: one past its inputs is
    // a video input too.
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) override {
        *related = -1;
        const bool known = index >= 0 && size_t(index) < inputTypes.size();
        *type = !isInput ? LONG{PhysConn_Video_VideoDecoder} : known ? inputTypes[index] : LONG{PhysConn_Video_Composite};
        return S_OK;
    }

    std::vector<LONG> inputTypes;
    FakeFilter filter;
    std::deque<FakePin> pins;
    // A count of inputs it claims every time, whatever pins it has.
    static constexpr LONG noClaim = LONG(0x80000000);
    LONG claimedInputs = noClaim;
};

// The MPEG-2 demultiplexer: an MPEG-2 input, and the output pins it is asked for, each
// mapping stream ids through the demultiplexer itself. Keeps what it was given.
class FakeDemultiplexer : public Double<IMpeg2Demultiplexer, IMPEG2StreamIdMap> {
public:
    FakeDemultiplexer();
    HRESULT STDMETHODCALLTYPE CreateOutputPin(AM_MEDIA_TYPE* type, LPWSTR name, IPin** out) override;
    STUB(SetOutputPinMediaType, (LPWSTR, AM_MEDIA_TYPE*), E_NOTIMPL) STUB(DeleteOutputPin, (LPWSTR), E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE MapStreamId(ULONG id, DWORD content, ULONG, int) override { return streamIds.push_back({id, content}), S_OK; }
    STUB(UnmapStreamId, (ULONG, ULONG*), E_NOTIMPL) STUB(EnumStreamIdMap, (IEnumStreamIdMap**), E_NOTIMPL)

    struct Output {
        std::wstring name;
        AM_MEDIA_TYPE type;  // its format block copied into format
        std::vector<BYTE> format;
    };
    FakeFilter filter{"demux"};
    FakePin input{"demux.in", PINDIR_INPUT};
    std::deque<FakePin> pins;
    std::vector<Output> outputs;
    std::vector<std::pair<ULONG, DWORD>> streamIds;
};

// The dump filter: a file sink over a filter of its own with one input.
class FakeDump : public Double<IFileSinkFilter> {
public:
    FakeDump();
    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) override { return fileName = name, S_OK; }
    STUB(GetCurFile, (LPOLESTR*, AM_MEDIA_TYPE*), E_NOTIMPL)
    FakeFilter filter{"dump"};
    FakePin input{"dump.in", PINDIR_INPUT};
    std::wstring fileName;
};

// While alive, creating clsid in this process answers with object (Wine's monikers and
// CoCreateInstance alike).
class ClassObject : public Double<IClassFactory> {
public:
    ClassObject(REFCLSID clsid, IUnknown* object);
    ~ClassObject() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        return object->QueryInterface(iid, out);
    }
    STUB(LockServer, (WINBOOL), S_OK)
    IUnknown* object;
    DWORD cookie = 0;
};

// While alive, a device of the category in the system's registry, listed by Wine's device
// enumerator under its instance name (instances are listed in the order of their names).
struct Device {
    Device(const GUID& category, const wchar_t* instance, const wchar_t* friendlyName, REFCLSID clsid);
    ~Device();
    GUID category;
    std::wstring instance;
    CLSID clsid;
};

}  // namespace doubles
