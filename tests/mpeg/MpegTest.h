#pragma once
// The wrapper over a fake platform builder whose graph connects only the pin pairs a test
// allows, with the device enumerator, filter mapper and demultiplexer registered. The
// doubles outlive the wrapper; TearDown lets the wrapper go, then checks every count and
// that every task-allocated block was freed.
#include "builder/CaptureBuilder.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>
#include <memory>

namespace mpeg {

using namespace doubles;

const REGPINMEDIUM NoMedium = {GUID_NULL, 0, 0};
const REGPINMEDIUM Standard = {KSMEDIUMSETID_Standard, 0, 0};
const REGPINMEDIUM Hardware = {{0x1234, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}}, 7, 0};
const MediaType VideoRgb(MEDIATYPE_Video, MEDIASUBTYPE_RGB24);
const MediaType AudioPcm(MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
const MediaType ProgramStream(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);

// An output pin the demultiplexer made: its name, media type, format bytes and stream maps.
class MappedPin : public FakePin, public IMPEG2StreamIdMap {
public:
    using FakePin::FakePin;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE MapStreamId(ULONG id, DWORD content, ULONG substream, int offset) override {
        return maps.push_back({LONG(id), LONG(content), LONG(substream), offset}), S_OK;
    }
    DOUBLE_STUB(UnmapStreamId, (ULONG, ULONG*), E_NOTIMPL) DOUBLE_STUB(EnumStreamIdMap, (IEnumStreamIdMap**), E_NOTIMPL)
    std::string pinName;
    AM_MEDIA_TYPE type{};       // format pointer cleared
    std::vector<BYTE> format;
    std::vector<std::vector<LONG>> maps;  // id, content, substream, offset

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IMPEG2StreamIdMap ? static_cast<IMPEG2StreamIdMap*>(this) : FakePin::Native(iid);
    }
};

class FakeDemux : public FakeFilter, public IMpeg2Demultiplexer {
public:
    using FakeFilter::FakeFilter;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE CreateOutputPin(AM_MEDIA_TYPE* mt, LPWSTR pinName, IPin** out) override {
        made.push_back(std::make_unique<MappedPin>(name + ".out" + std::to_string(made.size()), PINDIR_OUTPUT));
        MappedPin& pin = *made.back();
        pin.pinName = Narrow(pinName);
        pin.format.assign(mt->pbFormat, mt->pbFormat + mt->cbFormat);
        pin.type = *mt;
        pin.type.pbFormat = nullptr;
        pin.AddRef();
        return *out = &AddPin(pin), S_OK;
    }
    DOUBLE_STUB(SetOutputPinMediaType, (LPWSTR, AM_MEDIA_TYPE*), E_NOTIMPL) DOUBLE_STUB(DeleteOutputPin, (LPWSTR), E_NOTIMPL)
    std::vector<std::unique_ptr<MappedPin>> made;

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IMpeg2Demultiplexer ? static_cast<IMpeg2Demultiplexer*>(this) : FakeFilter::Native(iid);
    }
};

class FakeDump : public FakeFilter, public IFileSinkFilter {
public:
    using FakeFilter::FakeFilter;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override {
        return file = name, hadType = mt != nullptr, S_OK;
    }
    DOUBLE_STUB(GetCurFile, (LPOLESTR*, AM_MEDIA_TYPE*), E_NOTIMPL)
    std::wstring file;
    bool hadType = false;

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IFileSinkFilter ? static_cast<IFileSinkFilter*>(this) : FakeFilter::Native(iid);
    }
};

// EnumMatchingFilters keeps the input medium asked for and hands out the monikers.
class FakeMapper : public Double<IFilterMapper2> {
public:
    using Double::Double;
    DOUBLE_STUB(CreateCategory, (REFCLSID, DWORD, LPCWSTR), E_NOTIMPL)
    DOUBLE_STUB(UnregisterFilter, (const CLSID*, LPCOLESTR, REFCLSID), E_NOTIMPL)
    DOUBLE_STUB(RegisterFilter, (REFCLSID, LPCWSTR, IMoniker**, const CLSID*, LPCOLESTR, const REGFILTER2*), E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE EnumMatchingFilters(IEnumMoniker** out, DWORD, WINBOOL, DWORD, WINBOOL inputNeeded,
                                                  DWORD, const GUID*, const REGPINMEDIUM* medIn, const CLSID*,
                                                  WINBOOL, WINBOOL, DWORD, const GUID*, const REGPINMEDIUM*,
                                                  const CLSID*) override {
        if (inputNeeded && medIn) askedMedium = *medIn;
        return *out = new FakeEnumMoniker(name + ".matching", journal, static_cast<IFilterMapper2*>(this), monikers), S_OK;
    }
    std::vector<IMoniker*> monikers;
    REGPINMEDIUM askedMedium = {};
};

class MpegTest : public ::testing::Test {
protected:
    MpegTest() {
        registry.Register(CLSID_CaptureGraphBuilder2, static_cast<ICaptureGraphBuilder2*>(&inner));
        registry.Register(CLSID_SystemDeviceEnum, static_cast<ICreateDevEnum*>(&devices));
        registry.Register(CLSID_FilterMapper2, static_cast<IFilterMapper2*>(&mapper));
        registry.Register(CLSID_MPEG2Demultiplexer, static_cast<IBaseFilter*>(&demux));
        inner.graph = &graph;
        graph.pairsOnly = true;
        builder.reset(new CaptureBuilder);
    }
    void TearDown() override {
        builder.reset();
        EXPECT_DOUBLES_BALANCED();
        EXPECT_EQ(0, taskMem.Outstanding());
    }

    template <class T, class... Args>
    T& Make(Args&&... args) {
        owned.push_back(std::make_unique<T>(std::forward<Args>(args)..., &journal));
        return static_cast<T&>(*owned.back());
    }
    // A pin; with mediums, one that answers IKsPin.
    FakePin& Pin(FakeFilter& filter, const std::string& name, PIN_DIRECTION direction,
                 std::vector<MediaType> types = {}, std::vector<REGPINMEDIUM> mediums = {}, bool ks = false) {
        auto& pin = Make<FakePin>(filter.name + "." + name, direction);
        pin.mediaTypes = std::move(types);
        pin.hasKsPin = ks || !mediums.empty();
        pin.mediums = std::move(mediums);
        return filter.AddPin(pin);
    }
    FakeMoniker& MonikerFor(IBaseFilter* filter) {
        return Make<FakeMoniker>("moniker(" + NameOf(filter) + ")", nullptr, filter);
    }
    std::string Journaled(const std::string& prefix) const {
        std::string text;
        for (auto& e : journal.entries)
            if (e.compare(0, prefix.size(), prefix) == 0) text += (text.empty() ? "" : " ") + e;
        return text;
    }

    Journal journal;
    TaskMemWatch taskMem;
    FakeClassRegistry registry;
    FakeCaptureGraphBuilder inner{"inner", &journal};
    FakeGraph graph{"graph", &journal};
    FakeDeviceEnum devices{"devenum", &journal};
    FakeMapper mapper{"mapper", &journal};
    FakeDemux demux{"demux", &journal};
    std::vector<std::unique_ptr<ComDouble>> owned;
    std::unique_ptr<CaptureBuilder> builder;
};

}  // namespace mpeg
