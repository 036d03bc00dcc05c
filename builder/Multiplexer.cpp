// From the video encoder to the demultiplexer: directly, or through a multiplexer.
#include "builder/CaptureBuilder.h"
#include "builder/MonikerSearch.h"

// E_NOTIMPL tells an encoder on a hardware medium that reaches the demultiplexer by neither
// road from one on the null medium (E_FAIL).
HRESULT CaptureBuilder::ConnectEncoderToDemultiplexer(ComHolder<IBaseFilter> encoder,
                                                      const REGPINMEDIUM* medium) {
    if (SUCCEEDED(ConnectFilters(encoder, mpegFilter))) return S_OK;
    ComHolder<IEnumMoniker> multiplexers;
    HRESULT hr = CreateMultiplexerEnumerator(&multiplexers);
    if (FAILED(hr)) return hr;
    if (SUCCEEDED(InsertMultiplexer(encoder, multiplexers))) return S_OK;
    bool nullMedium = !medium || IsEqualGUID(medium->clsMedium, GUID_NULL);
    return nullMedium ? E_FAIL : E_NOTIMPL;
}

HRESULT CaptureBuilder::InsertMultiplexer(ComHolder<IBaseFilter> encoder,
                                          ComHolder<IEnumMoniker> multiplexers) {
    if (!encoder || !multiplexers) return E_INVALIDARG;
    return OfferBoundFilters(multiplexers, [&](IBaseFilter* candidate) {
        if (FAILED(graph->AddFilter(candidate, nullptr))) return false;
        if (FAILED(ConnectFilters(encoder, candidate)) ||
            FAILED(ConnectFilters(candidate, mpegFilter))) {
            graph->RemoveFilter(candidate);
            return false;
        }
        multiplexer = candidate;
        return true;
    });
}
