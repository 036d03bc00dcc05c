// The audio encoder between the source's audio pin and the multiplexer. Only the graph
// holds it; no member records it.
#include "builder/CaptureBuilder.h"
#include "builder/MonikerSearch.h"

HRESULT CaptureBuilder::InsertAudioEncoder(ComHolder<IPin> audioPin, ComHolder<IBaseFilter> mux) {
    if (!audioPin || !mux) return E_INVALIDARG;
    REGPINMEDIUM medium;
    HRESULT hr = GetPinMedium(audioPin, &medium);
    if (FAILED(hr)) return hr;
    ComHolder<IEnumMoniker> encoders;
    hr = CreateEncoderEnumerator(&encoders);
    if (FAILED(hr)) return hr;

    // Adds the encoder and connects it on both sides; one that added but did not connect
    // leaves the graph again.
    auto attach = [&](IBaseFilter* encoder) {
        if (FAILED(graph->AddFilter(encoder, L"Audio Encoder"))) return false;
        if (FAILED(ConnectPinToFilter(audioPin, encoder)) || FAILED(ConnectFilters(encoder, mux))) {
            graph->RemoveFilter(encoder);
            return false;
        }
        return true;
    };

    if (IsEqualGUID(medium.clsMedium, GUID_NULL)) {
        if (!encoders) return E_INVALIDARG;
        return OfferBoundFilters(encoders, attach);
    }

    // Hardware medium: one attempt with the registered encoders, then one with every
    // registered filter that has an input on the medium.
    auto attempt = [&](IEnumMoniker* candidates) {
        ComHolder<IBaseFilter> encoder;
        return SUCCEEDED(FindFilterByMedium(candidates, medium, &encoder)) && attach(encoder);
    };
    if (attempt(encoders)) return S_OK;
    encoders.Clear();
    hr = CreateMatchingFilterEnumerator(&medium, &encoders);
    if (FAILED(hr)) return hr;
    return attempt(encoders) ? S_OK : E_FAIL;
}
