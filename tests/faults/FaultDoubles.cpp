#include "FaultDoubles.h"

namespace faults {

namespace {
template <class T>
void Null(T** out) {
    if (out) *out = nullptr;
}
}  // namespace

bool IsFaultableInterface(REFIID iid) {
    static const IID* const asked[] = {&IID_ISpecifyPropertyPages, &IID_IKsPropertySet, &IID_IAMCrossbar,
                                       &IID_IBaseFilter,           &IID_IFileSinkFilter, &IID_IPropertyBag,
                                       &IID_IMpeg2Demultiplexer};
    for (const IID* i : asked)
        if (*i == iid) return true;
    return false;
}

// Pins

HRESULT FaultPin::QueryInterface(REFIID iid, void** out) {
    if (IsFaultableInterface(iid) && plan.Hit(name + ".QueryInterface")) {
        Null(out);
        return plan.Result();
    }
    return FakePin::QueryInterface(iid, out);
}

HRESULT FaultPin::ConnectedTo(IPin** out) {
    if (plan.Hit(name + ".ConnectedTo")) {
        Null(out);
        return plan.Result();
    }
    return FakePin::ConnectedTo(out);
}

HRESULT FaultPin::QueryPinInfo(PIN_INFO* info) {
    if (plan.Hit(name + ".QueryPinInfo")) {
        if (info) *info = PIN_INFO{};
        return plan.Result();
    }
    return FakePin::QueryPinInfo(info);
}

HRESULT FaultPin::Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceBytes, LPVOID data, DWORD dataBytes,
                      DWORD* returned) {
    if (plan.Hit(name + ".Get")) {
        if (returned) *returned = 0;
        return plan.Result();
    }
    return FakePin::Get(set, id, instance, instanceBytes, data, dataBytes, returned);
}

// Filters

HRESULT FaultFilter::QueryInterface(REFIID iid, void** out) {
    if (IsFaultableInterface(iid) && plan.Hit(name + ".QueryInterface")) {
        Null(out);
        return plan.Result();
    }
    return FakeFilter::QueryInterface(iid, out);
}

HRESULT FaultFilter::EnumPins(IEnumPins** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (plan.Hit(name + ".EnumPins")) return plan.Result();
    std::vector<IPin*> items(pins.begin(), pins.end());
    *out = new FaultEnum<IEnumPins, IPin>(name + ".pins", journal, static_cast<IBaseFilter*>(this), items);
    return S_OK;
}

HRESULT FaultFilter::GetPages(CAUUID* pages) {
    if (plan.Hit(name + ".GetPages")) {
        if (pages) *pages = CAUUID{0, nullptr};
        return plan.Result();
    }
    return FakeFilter::GetPages(pages);
}

// Devices

HRESULT FaultBag::Read(LPCOLESTR property, VARIANT* value, IErrorLog* log) {
    if (plan.Hit(name + ".Read")) return plan.Result();  // the variant is left as it came
    return FakePropertyBag::Read(property, value, log);
}

HRESULT FaultMoniker::BindToObject(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) {
    if (plan.Hit(name + ".BindToObject")) {
        Null(out);
        return plan.Result();
    }
    return FakeMoniker::BindToObject(ctx, left, iid, out);
}

HRESULT FaultMoniker::BindToStorage(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) {
    if (plan.Hit(name + ".BindToStorage")) {
        Null(out);
        return plan.Result();
    }
    return FakeMoniker::BindToStorage(ctx, left, iid, out);
}

HRESULT FaultDeviceEnum::CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (plan.Hit(name + ".CreateClassEnumerator")) return plan.Result();
    if (category != CLSID_VideoInputDeviceCategory || devices.empty()) return S_FALSE;
    *out = new FaultEnum<IEnumMoniker, IMoniker>(name + ".monikers", journal,
                                                 static_cast<ICreateDevEnum*>(this), devices);
    return S_OK;
}

// Graph

HRESULT FaultGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
    if (plan.Hit(this->name + ".AddFilter")) return plan.Result();
    return FakeGraph::AddFilter(filter, name);
}

HRESULT FaultGraph::RemoveFilter(IBaseFilter* filter) {
    if (plan.Hit(name + ".RemoveFilter")) return plan.Result();
    return FakeGraph::RemoveFilter(filter);
}

HRESULT FaultGraph::Disconnect(IPin* pin) {
    if (plan.Hit(name + ".Disconnect")) return plan.Result();
    return FakeGraph::Disconnect(pin);
}

HRESULT FaultGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) {
    if (plan.Hit(name + ".ConnectDirect")) return plan.Result();
    return FakeGraph::ConnectDirect(out, in, mt);
}

HRESULT FaultGraph::Connect(IPin* out, IPin* in) {
    if (plan.Hit(name + ".Connect")) return plan.Result();
    return FakeGraph::Connect(out, in);
}

// Platform capture graph builder

HRESULT FaultBuilder::SetFiltergraph(IGraphBuilder* graph) {
    if (plan.Hit(name + ".SetFiltergraph")) return plan.Result();
    return FakeCaptureGraphBuilder::SetFiltergraph(graph);
}

HRESULT FaultBuilder::GetFiltergraph(IGraphBuilder** out) {
    if (plan.Hit(name + ".GetFiltergraph")) {
        Null(out);
        return plan.Result();
    }
    return FakeCaptureGraphBuilder::GetFiltergraph(out);
}

HRESULT FaultBuilder::FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter, REFIID iid,
                                    void** out) {
    if (plan.Hit(name + ".FindInterface")) {
        Null(out);
        return plan.Result();
    }
    return FakeCaptureGraphBuilder::FindInterface(category, type, filter, iid, out);
}

HRESULT FaultBuilder::FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category, const GUID* type,
                              WINBOOL unconnected, int index, IPin** out) {
    if (plan.Hit(name + ".FindPin")) {
        Null(out);
        return plan.Result();
    }
    return FakeCaptureGraphBuilder::FindPin(source, direction, category, type, unconnected, index, out);
}

HRESULT FaultBuilder::RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                   IBaseFilter* compressor, IBaseFilter* renderer) {
    if (plan.Hit(name + ".RenderStream")) return plan.Result();
    return FakeCaptureGraphBuilder::RenderStream(category, type, source, compressor, renderer);
}

// Crossbar

FaultCrossbar::FaultCrossbar(const std::string& name, std::vector<LONG> inputs, std::vector<LONG> outputs)
    : ComDouble(name), inputTypes(std::move(inputs)), outputTypes(std::move(outputs)), filter(name + ".filter") {
    for (size_t i = 0; i < inputTypes.size(); ++i)
        filter.AddPin(pins.emplace_back(name + ".in" + std::to_string(i), PINDIR_INPUT));
    for (size_t i = 0; i < outputTypes.size(); ++i)
        filter.AddPin(pins.emplace_back(name + ".out" + std::to_string(i), PINDIR_OUTPUT));
    filter.Expose(IID_IAMCrossbar, static_cast<IAMCrossbar*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
}

void* FaultCrossbar::Native(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_IAMCrossbar ? static_cast<IAMCrossbar*>(this) : nullptr;
}

HRESULT FaultCrossbar::get_PinCounts(LONG* outputCount, LONG* inputCount) {
    if (!outputCount || !inputCount) return E_POINTER;
    if (plan.Hit(name + ".get_PinCounts")) return plan.Result();
    *outputCount = static_cast<LONG>(outputTypes.size());
    *inputCount = static_cast<LONG>(inputTypes.size());
    return S_OK;
}

HRESULT FaultCrossbar::CanRoute(LONG output, LONG input) {
    if (plan.Hit(name + ".CanRoute")) return plan.Result();
    if (output < 0 || input < 0 || static_cast<size_t>(output) >= outputTypes.size() ||
        static_cast<size_t>(input) >= inputTypes.size())
        return E_INVALIDARG;
    return S_OK;
}

HRESULT FaultCrossbar::get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) {
    if (!related || !type) return E_POINTER;
    if (plan.Hit(name + ".get_CrossbarPinInfo")) return plan.Result();
    const auto& list = isInput ? inputTypes : outputTypes;
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return E_INVALIDARG;
    *related = -1;
    *type = list[index];
    return S_OK;
}

// Stream format

void* FaultStreamConfig::Native(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_IAMStreamConfig ? static_cast<IAMStreamConfig*>(this) : nullptr;
}

HRESULT FaultStreamConfig::GetFormat(AM_MEDIA_TYPE** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (plan.Hit(name + ".GetFormat")) return plan.Result();
    *out = doubles::NewMediaType(doubles::MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo,
                                                    std::vector<BYTE>(sizeof(VIDEOINFOHEADER))));
    return S_OK;
}

}  // namespace faults
