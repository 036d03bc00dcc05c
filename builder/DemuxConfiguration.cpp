// The demultiplexer's two output pins, each mapped to one MPEG stream id as elementary
// stream content.
#include "builder/CaptureBuilder.h"
#include "builder/Mpeg2Formats.h"

namespace {

HRESULT CreateMappedPin(IMpeg2Demultiplexer* demux, AM_MEDIA_TYPE mediaType, LPWSTR name,
                        ULONG streamId) {
    ComHolder<IPin> pin;
    HRESULT hr = demux->CreateOutputPin(&mediaType, name, pin.Receive());
    if (FAILED(hr)) return hr;
    if (!pin) return E_FAIL;
    ComHolder<IMPEG2StreamIdMap> map;
    hr = pin->QueryInterface(IID_IMPEG2StreamIdMap, reinterpret_cast<void**>(map.Receive()));
    if (FAILED(hr)) return hr;
    if (!map) return E_FAIL;
    return map->MapStreamId(streamId, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0);
}

}  // namespace

// A demultiplexer whose audio pin fails keeps its video pin.
HRESULT CaptureBuilder::ConfigureDemultiplexer(ComHolder<IBaseFilter> demux) {
    if (!demux) return E_INVALIDARG;
    ComHolder<IMpeg2Demultiplexer> demultiplexer;
    HRESULT hr = demux->QueryInterface(IID_IMpeg2Demultiplexer,
                                       reinterpret_cast<void**>(demultiplexer.Receive()));
    if (FAILED(hr)) return hr;
    hr = ConfigureDemuxVideoPin(demultiplexer);
    if (FAILED(hr)) return hr;
    hr = ConfigureDemuxAudioPin(demultiplexer);
    if (FAILED(hr)) return hr;
    return S_OK;
}

HRESULT CaptureBuilder::ConfigureDemuxVideoPin(ComHolder<IMpeg2Demultiplexer> demux) {
    if (!demux) return E_INVALIDARG;
    wchar_t name[] = L"MpegVideo";
    return CreateMappedPin(demux, Mpeg2VideoMediaType(), name, videoStreamId);
}

HRESULT CaptureBuilder::ConfigureDemuxAudioPin(ComHolder<IMpeg2Demultiplexer> demux) {
    if (!demux) return E_INVALIDARG;
    wchar_t name[] = L"MpegAudio";
    return CreateMappedPin(demux, Mpeg2AudioMediaType(), name, audioStreamId);
}
