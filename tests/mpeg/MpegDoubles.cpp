#include "mpeg/MpegDoubles.h"
#include <algorithm>

namespace mpeg {

HRESULT PairGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) {
    auto* input = dynamic_cast<FakePin*>(AsDouble(in));
    bool ok = std::find(allowed.begin(), allowed.end(), std::make_pair(out, in)) != allowed.end();
    if (!ok || (input && input->peer)) connectDirectResults.push_front(VFW_E_NO_ACCEPTABLE_TYPES);
    return FakeGraph::ConnectDirect(out, in, mt);
}

void* MappedPin::Native(REFIID iid) {
    if (iid == IID_IMPEG2StreamIdMap) return static_cast<IMPEG2StreamIdMap*>(this);
    return FakePin::Native(iid);
}

HRESULT MappedPin::MapStreamId(ULONG id, DWORD content, ULONG substream, int offset) {
    maps.push_back({LONG(id), LONG(content), LONG(substream), offset});
    return S_OK;
}

void* FakeDemux::Native(REFIID iid) {
    if (iid == IID_IMpeg2Demultiplexer) return static_cast<IMpeg2Demultiplexer*>(this);
    return FakeFilter::Native(iid);
}

HRESULT FakeDemux::CreateOutputPin(AM_MEDIA_TYPE* mt, LPWSTR pinName, IPin** out) {
    Log("CreateOutputPin(" + Narrow(pinName) + ")");
    if (FAILED(createResult)) return createResult;
    made.push_back(std::make_unique<MappedPin>(name + ".out" + std::to_string(made.size()), PINDIR_OUTPUT));
    MappedPin& pin = *made.back();
    pin.pinName = Narrow(pinName);
    pin.type = *mt;
    pin.format.assign(mt->pbFormat, mt->pbFormat + mt->cbFormat);
    pin.type.pbFormat = nullptr;
    AddPin(pin);
    *out = &pin;
    pin.AddRef();
    return S_OK;
}

void* FakeDump::Native(REFIID iid) {
    if (iid == IID_IFileSinkFilter) return static_cast<IFileSinkFilter*>(this);
    return FakeFilter::Native(iid);
}

HRESULT FakeDump::SetFileName(LPCOLESTR fileName, const AM_MEDIA_TYPE* mt) {
    file = fileName;
    hadType = mt != nullptr;
    return S_OK;
}

void* FakeMapper::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IFilterMapper2) return static_cast<IFilterMapper2*>(this);
    return nullptr;
}

HRESULT FakeMapper::EnumMatchingFilters(IEnumMoniker** out, DWORD flags, WINBOOL exact, DWORD merit,
                                        WINBOOL inputNeeded, DWORD inputTypes, const GUID* inTypes,
                                        const REGPINMEDIUM* medIn, const CLSID* categoryIn, WINBOOL render,
                                        WINBOOL outputNeeded, DWORD outputTypes, const GUID* outTypes,
                                        const REGPINMEDIUM* medOut, const CLSID* categoryOut) {
    args = {flags, ULONG_PTR(exact), merit, ULONG_PTR(inputNeeded), inputTypes, ULONG_PTR(inTypes),
            ULONG_PTR(medIn), ULONG_PTR(categoryIn), ULONG_PTR(render), ULONG_PTR(outputNeeded),
            outputTypes, ULONG_PTR(outTypes), ULONG_PTR(medOut), ULONG_PTR(categoryOut)};
    *out = new FakeEnumMoniker(name + ".matching", journal, static_cast<IFilterMapper2*>(this), monikers);
    return S_OK;
}

HRESULT LivePin::Connect(IPin* receive, const AM_MEDIA_TYPE* mt) {
    HRESULT hr = receive->ReceiveConnection(this, mt);
    if (SUCCEEDED(hr)) peer = receive;
    return hr;
}

HRESULT LivePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE*) {
    if (!accepts || peer) return VFW_E_NO_ACCEPTABLE_TYPES;
    peer = connector;
    return S_OK;
}

}  // namespace mpeg
