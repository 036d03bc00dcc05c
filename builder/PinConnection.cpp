// Direct connections between pins: the platform may not insert filters of its own here.
#include "builder/PinConnection.h"

#include "builder/CaptureBuilder.h"

namespace {

bool HasDirection(IPin* pin, PIN_DIRECTION wanted) {
    PIN_DIRECTION direction;
    return pin && SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted;
}

}  // namespace

HRESULT ConnectToFirstInputPin(IFilterGraph* graph, IPin* outputPin, IBaseFilter* filter) {
    if (!HasDirection(outputPin, PINDIR_OUTPUT)) return E_FAIL;
    ComHolder<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(pins.Receive());
    if (FAILED(hr)) return hr;
    if (!pins) return S_FALSE;
    ComHolder<IPin> inputPin;
    ULONG taken = 0;
    while (NextItem(pins.Get(), inputPin, taken) == S_OK) {
        if (!HasDirection(inputPin, PINDIR_INPUT)) continue;
        if (SUCCEEDED(graph->ConnectDirect(outputPin, inputPin, nullptr))) return S_OK;
    }
    return S_FALSE;
}

// A filter none of whose input pins takes the pin is of no use in the graph: it goes.
HRESULT CaptureBuilder::ConnectPinToFilter(ComHolder<IPin> outputPin, ComHolder<IBaseFilter> filter) {
    if (!outputPin || !filter) return E_INVALIDARG;
    if (!graph) return E_FAIL;
    HRESULT hr = ConnectToFirstInputPin(graph, outputPin, filter);
    if (hr != S_FALSE) return hr;
    graph->RemoveFilter(filter);
    return E_FAIL;
}

// Each upstream output pin goes to the first downstream input pin that accepts it; an
// input pin already connected refuses, so no input pin serves two outputs.
HRESULT CaptureBuilder::ConnectFilters(ComHolder<IBaseFilter> upstream,
                                       ComHolder<IBaseFilter> downstream) {
    if (!upstream || !downstream) return E_INVALIDARG;
    if (!graph) return E_FAIL;
    ComHolder<IEnumPins> upstreamPins;
    HRESULT hr = upstream->EnumPins(upstreamPins.Receive());
    if (FAILED(hr)) return hr;
    ComHolder<IEnumPins> downstreamPins;
    hr = downstream->EnumPins(downstreamPins.Receive());
    if (FAILED(hr)) return hr;
    if (!upstreamPins || !downstreamPins) return E_FAIL;

    bool connected = false;
    ComHolder<IPin> outputPin;
    ULONG taken = 0;
    while (NextItem(upstreamPins.Get(), outputPin, taken) == S_OK) {
        if (!HasDirection(outputPin, PINDIR_OUTPUT)) continue;
        // The downstream pins are taken afresh, from their reset, for each output pin.
        ComHolder<IPin> inputPin;
        ULONG downstreamTaken = 0;
        while (NextItem(downstreamPins.Get(), inputPin, downstreamTaken) == S_OK) {
            if (!HasDirection(inputPin, PINDIR_INPUT)) continue;
            if (SUCCEEDED(graph->ConnectDirect(outputPin, inputPin, nullptr))) {
                connected = true;
                break;
            }
        }
        // Connections already made stay when the reset fails.
        hr = downstreamPins->Reset();
        if (FAILED(hr)) return hr;
    }
    return connected ? S_OK : E_FAIL;
}
