#pragma once
// The shared doubles with a fault point at the top of every platform call the launch and
// the builder make: each asks the plan whether this call is the one to fail, and then
// hands out no object and the plan's result. Otherwise the shared double answers.
#include "FaultPlan.h"
#include "doubles/ComDoubles.h"

namespace faults {

// CoCreateInstance as a fault point, in front of whatever creates objects now (a class
// registry made before it).
class FaultyCreation {
public:
    FaultyCreation();
    FaultyCreation(const FaultyCreation&) = delete;
    FaultyCreation& operator=(const FaultyCreation&) = delete;

private:
    SeamOverride<decltype(platform::CoCreateInstance)> seam;
};

// Interfaces whose QueryInterface is a fault point (the doubles' own look-ups are not).
bool IsFaultableInterface(REFIID iid);

template <class IEnum, class Item>
class FaultEnum : public doubles::FakeEnum<IEnum, Item> {
    using Base = doubles::FakeEnum<IEnum, Item>;

public:
    using Base::Base;
    // The odd success of Next is S_OK with nothing fetched.
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, Item** out, ULONG* fetched) override {
        const Shot shot = plan.Hit(this->name + ".Next");
        if (shot == Shot::Fail) {
            if (out) *out = nullptr;
            if (fetched) *fetched = 0;
            return plan.Result(S_OK);
        }
        return plan.Pass(shot, Base::Next(wanted, out, fetched));
    }
};

class FaultPin : public doubles::FakePin {
public:
    using FakePin::FakePin;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** out) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceBytes, LPVOID data,
                                  DWORD dataBytes, DWORD* returned) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* out) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** out) override;
    HRESULT STDMETHODCALLTYPE KsQueryMediums(PKSMULTIPLE_ITEM* list) override;
};

class FaultEnumMediaTypes : public doubles::FakeEnumMediaTypes {
public:
    using FakeEnumMediaTypes::FakeEnumMediaTypes;
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, AM_MEDIA_TYPE** out, ULONG* fetched) override;
};

class FaultFilter : public doubles::FakeFilter {
public:
    using FakeFilter::FakeFilter;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** out) override;
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;
};

class FaultBag : public doubles::FakePropertyBag {
public:
    using FakePropertyBag::FakePropertyBag;
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog* log) override;
};

class FaultMoniker : public doubles::FakeMoniker {
public:
    using FakeMoniker::FakeMoniker;
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) override;
};

// The system device enumerator with one category of devices.
class FaultDeviceEnum : public doubles::FakeDeviceEnum {
public:
    using FakeDeviceEnum::FakeDeviceEnum;
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD flags) override;
    CLSID category = CLSID_VideoInputDeviceCategory;
    std::vector<IMoniker*> devices;  // borrowed
};

class FaultGraph : public doubles::FakeGraph {
public:
    using FakeGraph::FakeGraph;
    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) override;
    HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) override;
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE Connect(IPin* out, IPin* in) override;
};

class FaultBuilder : public doubles::FakeCaptureGraphBuilder {
public:
    using FakeCaptureGraphBuilder::FakeCaptureGraphBuilder;
    HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override;
    HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** out) override;
    HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                                      const GUID* type, WINBOOL unconnected, int index, IPin** out) override;
    HRESULT STDMETHODCALLTYPE RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                           IBaseFilter* compressor, IBaseFilter* renderer) override;
};

// A crossbar switch over a filter of fault pins: inputs first, then outputs.
class FaultCrossbar : public doubles::ComDouble, public IAMCrossbar {
public:
    FaultCrossbar(const std::string& name, std::vector<LONG> inputTypes, std::vector<LONG> outputTypes);
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* outputCount, LONG* inputCount) override;
    HRESULT STDMETHODCALLTYPE CanRoute(LONG output, LONG input) override;
    HRESULT STDMETHODCALLTYPE Route(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsRoutedTo(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) override;

    FaultPin& Output(size_t i) { return pins[inputTypes.size() + i]; }

    std::vector<LONG> inputTypes;
    std::vector<LONG> outputTypes;
    FaultFilter filter;
    std::deque<FaultPin> pins;

protected:
    void* Native(REFIID iid) override;
};

// The demultiplexer's control: hands out its two output pins in turn, each mapping stream
// ids through its own map.
class FaultStreamIdMap : public doubles::ComDouble, public IMPEG2StreamIdMap {
public:
    explicit FaultStreamIdMap(std::string name) : ComDouble(std::move(name)) {}
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE MapStreamId(ULONG, DWORD, ULONG, int) override;
    HRESULT STDMETHODCALLTYPE UnmapStreamId(ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumStreamIdMap(IEnumStreamIdMap**) override { return E_NOTIMPL; }

protected:
    void* Native(REFIID iid) override;
};

class FaultDemultiplexer : public doubles::ComDouble, public IMpeg2Demultiplexer {
public:
    explicit FaultDemultiplexer(const std::string& name);
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE CreateOutputPin(AM_MEDIA_TYPE* type, LPWSTR name, IPin** out) override;
    HRESULT STDMETHODCALLTYPE SetOutputPinMediaType(LPWSTR, AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteOutputPin(LPWSTR) override { return E_NOTIMPL; }

    FaultFilter filter;
    FaultPin input;
    FaultPin outputs[2];
    FaultStreamIdMap maps[2];
    int created = 0;

protected:
    void* Native(REFIID iid) override;
};

// The dump filter: a file sink over a filter of its own.
class FaultFileSink : public doubles::ComDouble, public IFileSinkFilter {
public:
    explicit FaultFileSink(const std::string& name);
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR file, const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR*, AM_MEDIA_TYPE*) override { return E_NOTIMPL; }

    FaultFilter filter;

protected:
    void* Native(REFIID iid) override;
};

// A stream-format control whose current format is plain video.
class FaultStreamConfig : public doubles::ComDouble, public IAMStreamConfig {
public:
    explicit FaultStreamConfig(std::string name) : ComDouble(std::move(name)) {}
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** out) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int*, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int, AM_MEDIA_TYPE**, BYTE*) override { return E_NOTIMPL; }

protected:
    void* Native(REFIID iid) override;
};

}  // namespace faults
