// The video encoder between the source's video pin and the demultiplexer. A candidate that
// was added and then failed to connect is removed before the next one is tried.
#include "builder/CaptureBuilder.h"
#include "builder/Medium.h"
#include "builder/MonikerSearch.h"

HRESULT CaptureBuilder::InsertVideoEncoder(ComHolder<IPin> videoPin) {
    if (!videoPin) return E_INVALIDARG;
    REGPINMEDIUM medium;
    HRESULT hr = GetPinMedium(videoPin, &medium);
    if (FAILED(hr)) return hr;
    ComHolder<IEnumMoniker> encoders;
    hr = CreateEncoderEnumerator(&encoders);
    if (FAILED(hr)) return hr;

    if (IsEqualGUID(medium.clsMedium, GUID_NULL)) {
        // A source that no encoder fits goes on without one.
        InsertVideoEncoderByTrial(videoPin, encoders);
        return S_OK;
    }
    if (SUCCEEDED(InsertVideoEncoderByMedium(videoPin, &medium, encoders))) return S_OK;
    // Second source of candidates: any registered filter with an input on the medium.
    encoders.Clear();
    hr = CreateMatchingFilterEnumerator(&medium, &encoders);
    if (FAILED(hr)) return hr;
    return InsertVideoEncoderByMedium(videoPin, &medium, encoders);
}

// A null enumerator is what a system without registered encoders delivers.
HRESULT CaptureBuilder::InsertVideoEncoderByTrial(ComHolder<IPin> videoPin,
                                                  ComHolder<IEnumMoniker> encoders) {
    if (!videoPin || !encoders) return E_INVALIDARG;
    return OfferBoundFilters(encoders, [&](IBaseFilter* encoder) {
        if (FAILED(graph->AddFilter(encoder, L"Encoder"))) return false;
        if (FAILED(ConnectPinToFilter(videoPin, encoder)) ||
            FAILED(ConnectEncoderToDemultiplexer(encoder, &NullMedium))) {
            graph->RemoveFilter(encoder);
            return false;
        }
        videoEncoder = encoder;
        return true;
    });
}

HRESULT CaptureBuilder::InsertVideoEncoderByMedium(ComHolder<IPin> videoPin,
                                                   const REGPINMEDIUM* medium,
                                                   ComHolder<IEnumMoniker> encoders) {
    if (!medium) return E_INVALIDARG;
    ComHolder<IBaseFilter> encoder;
    HRESULT hr = FindFilterByMedium(encoders, *medium, &encoder);
    if (FAILED(hr)) return hr;
    hr = graph->AddFilter(encoder, L"Encoder");
    if (FAILED(hr)) return hr;
    hr = ConnectPinToFilter(videoPin, encoder);
    if (SUCCEEDED(hr)) hr = ConnectEncoderToDemultiplexer(encoder, medium);
    if (FAILED(hr)) {
        graph->RemoveFilter(encoder);
        return hr;
    }
    videoEncoder = encoder;
    return S_OK;
}
