#pragma once
// The few platform objects the shared doubles do not cover: a stream-format control, and
// the MPEG-2 demultiplexer and dump filter Wine does not register.
#include "doubles/ComDoubles.h"

namespace faults {

// Its current format is plain video.
struct FakeStreamConfig : doubles::Double<IAMStreamConfig> {
    using Double::Double;
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** out) override {
        *out = doubles::NewMediaType({MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo,
                                      std::vector<BYTE>(sizeof(VIDEOINFOHEADER))});
        return S_OK;
    }
    DOUBLE_STUB(SetFormat, (AM_MEDIA_TYPE*), E_NOTIMPL)
    DOUBLE_STUB(GetNumberOfCapabilities, (int*, int*), E_NOTIMPL)
    DOUBLE_STUB(GetStreamCaps, (int, AM_MEDIA_TYPE**, BYTE*), E_NOTIMPL)
};

// Over a filter of its own; hands out its two output pins in turn, each mapping stream
// ids through the demultiplexer itself.
struct FakeDemultiplexer : doubles::Double<IMpeg2Demultiplexer>, IMPEG2StreamIdMap {
    explicit FakeDemultiplexer(const std::string& name)
        : Double(name), filter(name + ".filter"), input(name + ".in", PINDIR_INPUT),
          outputs{{name + ".video", PINDIR_OUTPUT}, {name + ".audio", PINDIR_OUTPUT}} {
        filter.AddPin(input);
        filter.Expose(IID_IMpeg2Demultiplexer, static_cast<IMpeg2Demultiplexer*>(this));
        Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
        for (auto& pin : outputs) pin.Expose(IID_IMPEG2StreamIdMap, static_cast<IMPEG2StreamIdMap*>(this));
    }
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE CreateOutputPin(AM_MEDIA_TYPE*, LPWSTR, IPin** out) override {
        if (created >= 2) return *out = nullptr, E_FAIL;
        doubles::FakePin& pin = outputs[created++];
        filter.AddPin(pin).AddRef();
        return *out = &pin, S_OK;
    }
    DOUBLE_STUB(SetOutputPinMediaType, (LPWSTR, AM_MEDIA_TYPE*), E_NOTIMPL)
    DOUBLE_STUB(DeleteOutputPin, (LPWSTR), E_NOTIMPL)
    DOUBLE_STUB(MapStreamId, (ULONG, DWORD, ULONG, int), S_OK)
    DOUBLE_STUB(UnmapStreamId, (ULONG, ULONG*), E_NOTIMPL)
    DOUBLE_STUB(EnumStreamIdMap, (IEnumStreamIdMap**), E_NOTIMPL)
    void* Native(REFIID iid) override {
        return iid == IID_IMPEG2StreamIdMap ? static_cast<IMPEG2StreamIdMap*>(this) : Double::Native(iid);
    }

    doubles::FakeFilter filter;
    doubles::FakePin input, outputs[2];
    int created = 0;
};

// The dump filter: a file sink over a filter of its own.
struct FakeFileSink : doubles::Double<IFileSinkFilter> {
    explicit FakeFileSink(const std::string& name) : Double(name), filter(name + ".filter") {
        filter.Expose(IID_IFileSinkFilter, static_cast<IFileSinkFilter*>(this));
        Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
    }
    DOUBLE_STUB(SetFileName, (LPCOLESTR, const AM_MEDIA_TYPE*), S_OK)
    DOUBLE_STUB(GetCurFile, (LPOLESTR*, AM_MEDIA_TYPE*), E_NOTIMPL)
    doubles::FakeFilter filter;
};

}  // namespace faults
