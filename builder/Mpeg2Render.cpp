// Stream rendering: a byte stream goes through the MPEG-2 demultiplexer, fed from the
// source directly or through encoders; every other type goes to the platform's builder.
#include "builder/CaptureBuilder.h"
#include "builder/PinConnection.h"
#include "platform/Seam.h"

HRESULT CaptureBuilder::RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                     IBaseFilter* compressor, IBaseFilter* renderer) {
    if (!type || !IsEqualGUID(*type, MEDIATYPE_Stream)) {
        if (!innerBuilder) return E_FAIL;
        return innerBuilder->RenderStream(category, type, source, compressor, renderer);
    }

    // Byte stream: category and compressor play no part here. The graph and the rendering
    // of the demultiplexer's outputs go through this wrapper's own table.
    if (!graph) {
        HRESULT hr = GetFiltergraph(graph.Receive());
        if (FAILED(hr)) return hr;
        if (!graph) return E_FAIL;
    }
    if (!source) return E_INVALIDARG;
    ComHolder<IBaseFilter> sourceFilter;
    if (FAILED(source->QueryInterface(IID_IBaseFilter,
                                      reinterpret_cast<void**>(sourceFilter.Receive()))) ||
        !sourceFilter) {
        return E_INVALIDARG;
    }
    HRESULT hr = ConnectSourceToDemultiplexer(sourceFilter);
    // With a renderer the caller renders the demultiplexer itself.
    if (renderer || FAILED(hr)) return hr;

    hr = ConfigureDemultiplexer(mpegFilter);
    if (FAILED(hr)) return hr;
    hr = RenderStream(nullptr, &MEDIATYPE_Video, mpegFilter, nullptr, nullptr);
    if (FAILED(hr)) return hr;
    hr = RenderStream(nullptr, &MEDIATYPE_Audio, mpegFilter, nullptr, nullptr);
    if (FAILED(hr)) return hr;
    return S_OK;
}

// The demultiplexer is created once and reused; when the source cannot be connected to it
// it leaves the graph but stays in mpegFilter.
HRESULT CaptureBuilder::ConnectSourceToDemultiplexer(ComHolder<IBaseFilter> source) {
    if (!source) return E_FAIL;
    if (!mpegFilter) {
        HRESULT hr = platform::CoCreateInstance(CLSID_MPEG2Demultiplexer, nullptr, CLSCTX_ALL,
                                                IID_IBaseFilter,
                                                reinterpret_cast<void**>(mpegFilter.Receive()));
        if (FAILED(hr)) return hr;
        if (!mpegFilter) return E_FAIL;
        hr = graph->AddFilter(mpegFilter, L"MPEG2 Demux");
        if (FAILED(hr)) return hr;
    }

    ComHolder<IPin> pin;
    if (SUCCEEDED(FindMpeg2OutputPin(source, &pin))) {
        if (SUCCEEDED(ConnectPinToFilter(pin, mpegFilter))) return S_OK;
        graph->RemoveFilter(mpegFilter);
        return E_FAIL;
    }
    HRESULT hr = FindVideoPin(source, &pin);
    if (SUCCEEDED(hr)) hr = InsertVideoEncoder(pin);
    if (FAILED(hr)) {
        graph->RemoveFilter(mpegFilter);
        return hr;
    }

    ComHolder<IPin> audioPin;
    if (FAILED(FindAudioPin(source, &audioPin))) return S_OK;  // a video-only chain
    // The video encoder may take the audio as well. A refusal must not cost the graph the
    // encoder the video chain already runs through, so it is not removed here.
    if (videoEncoder && ConnectToFirstInputPin(graph, audioPin, videoEncoder) == S_OK) return S_OK;
    // Without an audio encoder the chain carries video only.
    InsertAudioEncoder(audioPin, multiplexer);
    return S_OK;
}
