#include "crossbar/CrossbarRouter.h"
#include "platform/ComHolder.h"

namespace {

// The crossbar's own filter and a fresh enumeration of its pins.
HRESULT EnumerateCrossbarPins(IAMCrossbar* crossbar, ComHolder<IBaseFilter>& filter, ComHolder<IEnumPins>& pins) {
    if (crossbar->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(filter.Receive())) != S_OK || !filter)
        return E_FAIL;
    if (FAILED(filter->EnumPins(pins.Receive())) || !pins) return E_FAIL;
    return S_OK;
}

}  // namespace

// The crossbar filter enumerates all its inputs first, then its outputs, each in index
// order. The pin is handed out without a reference: it lives as long as the filter.
HRESULT CrossbarRouter::PinAtIndex(IAMCrossbar* crossbar, LONG index, BOOL isInput, IPin** pin) {
    if (!crossbar || !pin) return E_POINTER;
    *pin = nullptr;
    LONG outputCount = 0, inputCount = 0;
    if (crossbar->get_PinCounts(&outputCount, &inputCount) != S_OK) return E_FAIL;
    const LONG wanted = isInput ? index : index + inputCount;

    ComHolder<IBaseFilter> filter;
    ComHolder<IEnumPins> pins;
    if (FAILED(EnumerateCrossbarPins(crossbar, filter, pins))) return E_FAIL;
    ComHolder<IPin> fetched;
    for (LONG n = 0; NextItem(pins.Get(), fetched) == S_OK; ++n) {
        if (n == wanted) {
            *pin = fetched;
            break;
        }
    }
    return *pin ? S_OK : E_FAIL;
}

HRESULT CrossbarRouter::IndexOfPin(IAMCrossbar* crossbar, LONG* index, BOOL isInput, IPin* pin) {
    if (!crossbar || !index || !pin) return E_POINTER;
    LONG outputCount = 0, inputCount = 0;
    if (crossbar->get_PinCounts(&outputCount, &inputCount) != S_OK) return E_FAIL;

    ComHolder<IBaseFilter> filter;
    ComHolder<IEnumPins> pins;
    if (FAILED(EnumerateCrossbarPins(crossbar, filter, pins))) return E_FAIL;
    ComHolder<IPin> fetched;
    for (LONG n = 0; NextItem(pins.Get(), fetched) == S_OK; ++n) {
        if (fetched == pin) {
            *index = isInput ? n : n - inputCount;
            return S_OK;
        }
    }
    return E_FAIL;
}
