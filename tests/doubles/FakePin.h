#pragma once
// A pin. Its peer and its filter are borrowed: the test owns every double and wires them
// with Link. Optional interfaces: IKsPropertySet answering the pin category through
// AMPROPSETID_Pin (set hasCategory), IKsPin answering KsQueryMediums (set hasKsPin).
#include "doubles/ComDouble.h"
#include "doubles/MediaTypes.h"

namespace doubles {

class FakePin : public ComDouble, public IPin, public IKsPropertySet, public IKsPin {
public:
    FakePin(std::string name, PIN_DIRECTION direction, Journal* journal = nullptr);
    DOUBLE_IUNKNOWN

    // Links two pins both ways (output first or not, as the test likes).
    static void Link(FakePin& a, FakePin& b);

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** out) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* out) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** out) override;
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin** pins, ULONG* n) override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;
    HRESULT STDMETHODCALLTYPE BeginFlush() override;
    HRESULT STDMETHODCALLTYPE EndFlush() override;
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IKsPropertySet
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceBytes, LPVOID data,
                                  DWORD dataBytes) override;
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceBytes, LPVOID data,
                                  DWORD dataBytes, DWORD* returned) override;
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IKsPin
    HRESULT STDMETHODCALLTYPE KsQueryMediums(PKSMULTIPLE_ITEM* list) override;
    HRESULT STDMETHODCALLTYPE KsQueryInterfaces(PKSMULTIPLE_ITEM* list) override;
    HRESULT STDMETHODCALLTYPE KsCreateSinkPinHandle(KSPIN_INTERFACE& iface, KSPIN_MEDIUM& medium) override;
    HRESULT STDMETHODCALLTYPE KsGetCurrentCommunication(KSPIN_COMMUNICATION* c, KSPIN_INTERFACE* i,
                                                        KSPIN_MEDIUM* m) override;
    HRESULT STDMETHODCALLTYPE KsPropagateAcquire() override;
    HRESULT STDMETHODCALLTYPE KsDeliver(IMediaSample* sample, ULONG flags) override;
    HRESULT STDMETHODCALLTYPE KsMediaSamplesCompleted(PKSSTREAM_SEGMENT segment) override;
    IMemAllocator* STDMETHODCALLTYPE KsPeekAllocator(KSPEEKOPERATION op) override;
    HRESULT STDMETHODCALLTYPE KsReceiveAllocator(IMemAllocator* allocator) override;
    HRESULT STDMETHODCALLTYPE KsRenegotiateAllocator() override;
    LONG STDMETHODCALLTYPE KsIncrementPendingIoCount() override;
    LONG STDMETHODCALLTYPE KsDecrementPendingIoCount() override;
    HRESULT STDMETHODCALLTYPE KsQualityNotify(ULONG proportion, REFERENCE_TIME delta) override;

    PIN_DIRECTION direction;
    IBaseFilter* filter = nullptr;   // set by FakeFilter::AddPin
    IPin* peer = nullptr;
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

// Hands out task-allocated copies of its pin's media types; holds a reference on the pin.
class FakeEnumMediaTypes : public ComDouble, public IEnumMediaTypes {
public:
    FakeEnumMediaTypes(FakePin* pin, size_t position = 0);
    ~FakeEnumMediaTypes() override;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, AM_MEDIA_TYPE** out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG n) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** out) override;

    FakePin* pin;
    size_t position;

protected:
    void* Native(REFIID iid) override;
};

}  // namespace doubles
