#include "FaultDoubles.h"

namespace faults {

namespace {
decltype(platform::CoCreateInstance) previousCreate;

std::string ClassName(REFCLSID clsid) {
    if (clsid == CLSID_SystemDeviceEnum) return "SystemDeviceEnum";
    if (clsid == CLSID_FilterGraph) return "FilterGraph";
    if (clsid == CLSID_CaptureGraphBuilder2) return "CaptureGraphBuilder2";
    if (clsid == CLSID_MPEG2Demultiplexer) return "MPEG2Demultiplexer";
    if (clsid == CLSID_FilterMapper2) return "FilterMapper2";
    return "class";
}

HRESULT WINAPI Create(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
    const Shot shot = plan.Hit("CoCreateInstance(" + ClassName(clsid) + ")");
    if (shot == Shot::Fail) {
        if (out) *out = nullptr;
        return plan.Result();
    }
    return plan.Pass(shot, previousCreate(clsid, outer, context, iid, out));
}

template <class T>
void Null(T** out) {
    if (out) *out = nullptr;
}
}  // namespace

FaultyCreation::FaultyCreation()
    : seam(platform::CoCreateInstance, (previousCreate = platform::CoCreateInstance, Create)) {}

bool IsFaultableInterface(REFIID iid) {
    static const IID* const asked[] = {&IID_ISpecifyPropertyPages, &IID_IKsPropertySet, &IID_IAMCrossbar,
                                       &IID_IBaseFilter,           &IID_IFileSinkFilter, &IID_IPropertyBag,
                                       &IID_IMpeg2Demultiplexer,    &IID_IMPEG2StreamIdMap, &__uuidof(IKsPin)};
    for (const IID* i : asked)
        if (*i == iid) return true;
    return false;
}

// Pins

HRESULT FaultPin::QueryInterface(REFIID iid, void** out) {
    const Shot shot = IsFaultableInterface(iid) ? plan.Hit(name + ".QueryInterface") : Shot::Pass;
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakePin::QueryInterface(iid, out));
}

HRESULT FaultPin::ConnectedTo(IPin** out) {
    const Shot shot = plan.Hit(name + ".ConnectedTo");
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakePin::ConnectedTo(out));
}

HRESULT FaultPin::QueryPinInfo(PIN_INFO* info) {
    const Shot shot = plan.Hit(name + ".QueryPinInfo");
    if (shot == Shot::Fail) {
        if (info) *info = PIN_INFO{};
        return plan.Result();
    }
    return plan.Pass(shot, FakePin::QueryPinInfo(info));
}

HRESULT FaultPin::Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceBytes, LPVOID data, DWORD dataBytes,
                      DWORD* returned) {
    const Shot shot = plan.Hit(name + ".Get");
    if (shot == Shot::Fail) {
        if (returned) *returned = 0;
        return plan.Result();
    }
    return plan.Pass(shot, FakePin::Get(set, id, instance, instanceBytes, data, dataBytes, returned));
}

HRESULT FaultPin::QueryDirection(PIN_DIRECTION* out) {
    const Shot shot = plan.Hit(name + ".QueryDirection");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakePin::QueryDirection(out));
}

HRESULT FaultPin::EnumMediaTypes(IEnumMediaTypes** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const Shot shot = plan.Hit(name + ".EnumMediaTypes");
    if (shot == Shot::Fail) return plan.Result();
    *out = new FaultEnumMediaTypes(this);
    return plan.Pass(shot, S_OK);
}

HRESULT FaultPin::KsQueryMediums(PKSMULTIPLE_ITEM* list) {
    const Shot shot = plan.Hit(name + ".KsQueryMediums");
    if (shot == Shot::Fail) {
        if (list) *list = nullptr;
        return plan.Result();
    }
    return plan.Pass(shot, FakePin::KsQueryMediums(list));
}

// The odd success of Next is S_OK with nothing fetched.
HRESULT FaultEnumMediaTypes::Next(ULONG wanted, AM_MEDIA_TYPE** out, ULONG* fetched) {
    const Shot shot = plan.Hit(name + ".Next");
    if (shot == Shot::Fail) {
        if (out) *out = nullptr;
        if (fetched) *fetched = 0;
        return plan.Result(S_OK);
    }
    return plan.Pass(shot, FakeEnumMediaTypes::Next(wanted, out, fetched));
}

// Filters

HRESULT FaultFilter::QueryInterface(REFIID iid, void** out) {
    const Shot shot = IsFaultableInterface(iid) ? plan.Hit(name + ".QueryInterface") : Shot::Pass;
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakeFilter::QueryInterface(iid, out));
}

HRESULT FaultFilter::EnumPins(IEnumPins** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const Shot shot = plan.Hit(name + ".EnumPins");
    if (shot == Shot::Fail) return plan.Result();
    std::vector<IPin*> items(pins.begin(), pins.end());
    *out = new FaultEnum<IEnumPins, IPin>(name + ".pins", journal, static_cast<IBaseFilter*>(this), items);
    return plan.Pass(shot, S_OK);
}

HRESULT FaultFilter::GetPages(CAUUID* pages) {
    const Shot shot = plan.Hit(name + ".GetPages");
    if (shot == Shot::Fail) {
        if (pages) *pages = CAUUID{0, nullptr};
        return plan.Result();
    }
    return plan.Pass(shot, FakeFilter::GetPages(pages));
}

// Devices

HRESULT FaultBag::Read(LPCOLESTR property, VARIANT* value, IErrorLog* log) {
    const Shot shot = plan.Hit(name + ".Read");
    if (shot == Shot::Fail) return plan.Result();  // the variant is left as it came
    return plan.Pass(shot, FakePropertyBag::Read(property, value, log));
}

HRESULT FaultMoniker::BindToObject(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) {
    const Shot shot = plan.Hit(name + ".BindToObject");
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakeMoniker::BindToObject(ctx, left, iid, out));
}

HRESULT FaultMoniker::BindToStorage(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) {
    const Shot shot = plan.Hit(name + ".BindToStorage");
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakeMoniker::BindToStorage(ctx, left, iid, out));
}

HRESULT FaultDeviceEnum::CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const Shot shot = plan.Hit(name + ".CreateClassEnumerator");
    if (shot == Shot::Fail) return plan.Result();
    if (category != this->category || devices.empty()) return S_FALSE;
    *out = new FaultEnum<IEnumMoniker, IMoniker>(name + ".monikers", journal,
                                                 static_cast<ICreateDevEnum*>(this), devices);
    return plan.Pass(shot, S_OK);
}

// Graph

HRESULT FaultGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
    const Shot shot = plan.Hit(this->name + ".AddFilter");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakeGraph::AddFilter(filter, name));
}

HRESULT FaultGraph::RemoveFilter(IBaseFilter* filter) {
    const Shot shot = plan.Hit(name + ".RemoveFilter");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakeGraph::RemoveFilter(filter));
}

HRESULT FaultGraph::Disconnect(IPin* pin) {
    const Shot shot = plan.Hit(name + ".Disconnect");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakeGraph::Disconnect(pin));
}

HRESULT FaultGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) {
    const Shot shot = plan.Hit(name + ".ConnectDirect");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakeGraph::ConnectDirect(out, in, mt));
}

HRESULT FaultGraph::Connect(IPin* out, IPin* in) {
    const Shot shot = plan.Hit(name + ".Connect");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakeGraph::Connect(out, in));
}

// Platform capture graph builder

HRESULT FaultBuilder::SetFiltergraph(IGraphBuilder* graph) {
    const Shot shot = plan.Hit(name + ".SetFiltergraph");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakeCaptureGraphBuilder::SetFiltergraph(graph));
}

HRESULT FaultBuilder::GetFiltergraph(IGraphBuilder** out) {
    const Shot shot = plan.Hit(name + ".GetFiltergraph");
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakeCaptureGraphBuilder::GetFiltergraph(out));
}

HRESULT FaultBuilder::FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter, REFIID iid,
                                    void** out) {
    const Shot shot = plan.Hit(name + ".FindInterface");
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakeCaptureGraphBuilder::FindInterface(category, type, filter, iid, out));
}

HRESULT FaultBuilder::FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category, const GUID* type,
                              WINBOOL unconnected, int index, IPin** out) {
    const Shot shot = plan.Hit(name + ".FindPin");
    if (shot == Shot::Fail) {
        Null(out);
        return plan.Result();
    }
    return plan.Pass(shot, FakeCaptureGraphBuilder::FindPin(source, direction, category, type, unconnected, index, out));
}

HRESULT FaultBuilder::RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                   IBaseFilter* compressor, IBaseFilter* renderer) {
    const Shot shot = plan.Hit(name + ".RenderStream");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, FakeCaptureGraphBuilder::RenderStream(category, type, source, compressor, renderer));
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
    const Shot shot = plan.Hit(name + ".get_PinCounts");
    if (shot == Shot::Fail) return plan.Result();
    *outputCount = static_cast<LONG>(outputTypes.size());
    *inputCount = static_cast<LONG>(inputTypes.size());
    return plan.Pass(shot, S_OK);
}

HRESULT FaultCrossbar::CanRoute(LONG output, LONG input) {
    const Shot shot = plan.Hit(name + ".CanRoute");
    if (shot == Shot::Fail) return plan.Result();
    if (output < 0 || input < 0 || static_cast<size_t>(output) >= outputTypes.size() ||
        static_cast<size_t>(input) >= inputTypes.size())
        return E_INVALIDARG;
    return plan.Pass(shot, S_OK);
}

HRESULT FaultCrossbar::get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) {
    if (!related || !type) return E_POINTER;
    const Shot shot = plan.Hit(name + ".get_CrossbarPinInfo");
    if (shot == Shot::Fail) return plan.Result();
    const auto& list = isInput ? inputTypes : outputTypes;
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return E_INVALIDARG;
    *related = -1;
    *type = list[index];
    return plan.Pass(shot, S_OK);
}

// MPEG-2 demultiplexer and dump filter

void* FaultStreamIdMap::Native(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_IMPEG2StreamIdMap ? static_cast<IMPEG2StreamIdMap*>(this) : nullptr;
}

HRESULT FaultStreamIdMap::MapStreamId(ULONG, DWORD, ULONG, int) {
    const Shot shot = plan.Hit(name + ".MapStreamId");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, S_OK);
}

FaultDemultiplexer::FaultDemultiplexer(const std::string& name)
    : ComDouble(name),
      filter(name + ".filter"),
      input(name + ".in", PINDIR_INPUT),
      outputs{{name + ".video", PINDIR_OUTPUT}, {name + ".audio", PINDIR_OUTPUT}},
      maps{FaultStreamIdMap(name + ".video.map"), FaultStreamIdMap(name + ".audio.map")} {
    filter.AddPin(input);
    filter.Expose(IID_IMpeg2Demultiplexer, static_cast<IMpeg2Demultiplexer*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
    for (int i = 0; i < 2; ++i) outputs[i].Expose(IID_IMPEG2StreamIdMap, static_cast<IMPEG2StreamIdMap*>(&maps[i]));
}

void* FaultDemultiplexer::Native(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_IMpeg2Demultiplexer ? static_cast<IMpeg2Demultiplexer*>(this)
                                                                 : nullptr;
}

HRESULT FaultDemultiplexer::CreateOutputPin(AM_MEDIA_TYPE*, LPWSTR, IPin** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const Shot shot = plan.Hit(name + ".CreateOutputPin");
    if (shot == Shot::Fail) return plan.Result();
    if (created >= 2) return E_FAIL;
    FaultPin& pin = outputs[created++];
    filter.AddPin(pin);
    pin.AddRef();
    *out = &pin;
    return plan.Pass(shot, S_OK);
}

FaultFileSink::FaultFileSink(const std::string& name) : ComDouble(name), filter(name + ".filter") {
    filter.Expose(IID_IFileSinkFilter, static_cast<IFileSinkFilter*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
}

void* FaultFileSink::Native(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_IFileSinkFilter ? static_cast<IFileSinkFilter*>(this) : nullptr;
}

HRESULT FaultFileSink::SetFileName(LPCOLESTR, const AM_MEDIA_TYPE*) {
    const Shot shot = plan.Hit(name + ".SetFileName");
    if (shot == Shot::Fail) return plan.Result();
    return plan.Pass(shot, S_OK);
}

// Stream format

void* FaultStreamConfig::Native(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_IAMStreamConfig ? static_cast<IAMStreamConfig*>(this) : nullptr;
}

HRESULT FaultStreamConfig::GetFormat(AM_MEDIA_TYPE** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const Shot shot = plan.Hit(name + ".GetFormat");
    if (shot == Shot::Fail) return plan.Result();
    *out = doubles::NewMediaType(doubles::MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo,
                                                    std::vector<BYTE>(sizeof(VIDEOINFOHEADER))));
    return plan.Pass(shot, S_OK);
}

}  // namespace faults
