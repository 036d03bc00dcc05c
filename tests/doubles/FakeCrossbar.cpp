#include "doubles/FakeCrossbar.h"

namespace doubles {

FakeCrossbar::FakeCrossbar(std::string name, std::vector<CrossbarPin> inputs, std::vector<CrossbarPin> outputs,
                           Journal* journal)
    : ComDouble(name, journal), inputs(std::move(inputs)), outputs(std::move(outputs)), filter(name + ".filter", journal) {
    for (size_t i = 0; i < this->inputs.size(); ++i)
        filter.AddPin(pins.emplace_back(name + ".in" + std::to_string(i), PINDIR_INPUT, journal));
    for (size_t i = 0; i < this->outputs.size(); ++i)
        filter.AddPin(pins.emplace_back(name + ".out" + std::to_string(i), PINDIR_OUTPUT, journal));
    filter.Expose(IID_IAMCrossbar, static_cast<IAMCrossbar*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
}

void* FakeCrossbar::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IAMCrossbar) return static_cast<IAMCrossbar*>(this);
    return nullptr;
}

HRESULT FakeCrossbar::get_PinCounts(LONG* outputCount, LONG* inputCount) {
    if (!outputCount || !inputCount) return E_POINTER;
    if (FAILED(pinCountsResult)) return pinCountsResult;
    *outputCount = static_cast<LONG>(outputs.size());
    *inputCount = static_cast<LONG>(inputs.size());
    return pinCountsResult;
}

HRESULT FakeCrossbar::CanRoute(LONG output, LONG input) {
    if (output < 0 || input < 0 || static_cast<size_t>(output) >= outputs.size() ||
        static_cast<size_t>(input) >= inputs.size())
        return E_INVALIDARG;
    auto it = canRoute.find({output, input});
    return it == canRoute.end() ? S_OK : it->second;
}

HRESULT FakeCrossbar::Route(LONG output, LONG input) {
    Log("Route(" + std::to_string(output) + "," + std::to_string(input) + ")");
    return E_NOTIMPL;
}

HRESULT FakeCrossbar::get_IsRoutedTo(LONG, LONG*) { return E_NOTIMPL; }

HRESULT FakeCrossbar::get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) {
    if (!related || !type) return E_POINTER;
    const auto& list = isInput ? inputs : outputs;
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return E_INVALIDARG;
    if (FAILED(pinInfoResult)) return pinInfoResult;
    *related = list[index].related;
    *type = list[index].physicalType;
    return pinInfoResult;
}

}  // namespace doubles
