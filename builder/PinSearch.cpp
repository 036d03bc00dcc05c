// Searches for one pin on a filter, in the order the filter enumerates its pins.
#include "builder/CaptureBuilder.h"

namespace {

// The first pin of filter that accepts takes (with its direction known): S_OK with the pin
// assigned, E_FAIL when the pins run out, or the failure of EnumPins. Pins whose direction
// cannot be read are skipped.
template <class Accept>
HRESULT FindFirstPin(IBaseFilter* filter, ComHolder<IPin>* pin, Accept accepts) {
    if (!filter) return E_POINTER;
    ComHolder<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(pins.Receive());
    if (FAILED(hr)) return hr;
    if (!pins) return E_FAIL;
    pins->Reset();
    ComHolder<IPin> candidate;
    ULONG taken = 0;
    while (NextItem(pins.Get(), candidate, taken) == S_OK) {
        if (!candidate) continue;
        PIN_DIRECTION direction;
        if (FAILED(candidate->QueryDirection(&direction))) continue;
        if (!accepts(candidate, direction)) continue;
        AssignTo(pin, candidate.Get());
        return S_OK;
    }
    return E_FAIL;
}

}  // namespace

HRESULT CaptureBuilder::FindMpeg2OutputPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* pin) {
    return FindFirstPin(filter, pin, [this](IPin* candidate, PIN_DIRECTION direction) {
        return direction == PINDIR_OUTPUT && IsMpeg2Pin(candidate);
    });
}

// Input and output pins alike are candidates for the video and audio searches.
HRESULT CaptureBuilder::FindVideoPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* pin) {
    return FindFirstPin(filter, pin, [this](IPin* candidate, PIN_DIRECTION) {
        return IsVideoPin(candidate);
    });
}

HRESULT CaptureBuilder::FindAudioPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* pin) {
    return FindFirstPin(filter, pin, [this](IPin* candidate, PIN_DIRECTION) {
        return IsAudioPin(candidate);
    });
}

// Flags are not compared: a pin matches on the medium's set and id.
HRESULT CaptureBuilder::FindPinByMedium(ComHolder<IBaseFilter> filter, const REGPINMEDIUM* medium,
                                        PIN_DIRECTION direction, ComHolder<IPin>* pin) {
    if (!medium) return E_POINTER;
    return FindFirstPin(filter, pin, [&](IPin* candidate, PIN_DIRECTION candidateDirection) {
        if (candidateDirection != direction) return false;
        REGPINMEDIUM candidateMedium;
        if (FAILED(GetPinMedium(candidate, &candidateMedium))) return false;
        if (!IsVideoPin(candidate)) return false;
        return IsEqualGUID(candidateMedium.clsMedium, medium->clsMedium) &&
               candidateMedium.dw1 == medium->dw1;
    });
}
