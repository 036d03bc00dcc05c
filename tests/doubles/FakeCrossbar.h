#pragma once
// A crossbar switch: IAMCrossbar over a filter of its own whose pins enumerate all inputs
// first, then all outputs. The filter answers IAMCrossbar with this object and this
// object answers IBaseFilter with the filter; each keeps its own count.
#include "doubles/FakeFilter.h"
#include <deque>
#include <map>

namespace doubles {

struct CrossbarPin {
    LONG physicalType;
    LONG related = -1;
};

class FakeCrossbar : public ComDouble, public IAMCrossbar {
public:
    FakeCrossbar(std::string name, std::vector<CrossbarPin> inputs, std::vector<CrossbarPin> outputs,
                 Journal* journal = nullptr);
    DOUBLE_IUNKNOWN

    FakePin& Input(size_t i) { return pins[i]; }
    FakePin& Output(size_t i) { return pins[inputs.size() + i]; }

    // IAMCrossbar
    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* outputCount, LONG* inputCount) override;
    HRESULT STDMETHODCALLTYPE CanRoute(LONG output, LONG input) override;
    HRESULT STDMETHODCALLTYPE Route(LONG output, LONG input) override;
    HRESULT STDMETHODCALLTYPE get_IsRoutedTo(LONG output, LONG* input) override;
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(WINBOOL isInput, LONG index, LONG* related, LONG* type) override;

    std::vector<CrossbarPin> inputs;
    std::vector<CrossbarPin> outputs;
    // (output, input) -> result of CanRoute; pairs not listed are routable (S_OK).
    std::map<std::pair<LONG, LONG>, HRESULT> canRoute;
    HRESULT pinCountsResult = S_OK;
    HRESULT pinInfoResult = S_OK;
    FakeFilter filter;
    std::deque<FakePin> pins;

protected:
    void* Native(REFIID iid) override;
};

}  // namespace doubles
