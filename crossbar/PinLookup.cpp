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
// order. The pin is handed out with a reference of its own: a filter's pins need not live
// as long as the filter's enumerator holds them.
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
    ULONG taken = 0;
    for (LONG n = 0; NextItem(pins.Get(), fetched, taken) == S_OK; ++n) {
        if (n == wanted) {
            if ((*pin = fetched)) (*pin)->AddRef();
            break;
        }
    }
    return *pin ? S_OK : E_FAIL;
}

// The index of pin among the crossbar's inputs or outputs, and its place in the
// enumeration. A place the crossbar's own counts do not allow (an output among the inputs,
// an index past the outputs) is a crossbar that contradicts itself: not found.
HRESULT CrossbarRouter::IndexOfPin(IAMCrossbar* crossbar, LONG* index, BOOL isInput, IPin* pin, LONG* position) {
    if (!crossbar || !index || !pin) return E_POINTER;
    LONG outputCount = 0, inputCount = 0;
    if (crossbar->get_PinCounts(&outputCount, &inputCount) != S_OK) return E_FAIL;

    ComHolder<IBaseFilter> filter;
    ComHolder<IEnumPins> pins;
    if (FAILED(EnumerateCrossbarPins(crossbar, filter, pins))) return E_FAIL;
    ComHolder<IPin> fetched;
    ULONG taken = 0;
    for (LONG n = 0; NextItem(pins.Get(), fetched, taken) == S_OK; ++n) {
        if (fetched == pin) {
            const LONG found = isInput ? n : n - inputCount;
            if (inputCount < 0 || found < 0 || found >= (isInput ? inputCount : outputCount)) return E_FAIL;
            *index = found;
            if (position) *position = n;
            return S_OK;
        }
    }
    return E_FAIL;
}
