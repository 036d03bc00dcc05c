// Hardware mediums: which one a pin sits on, and which registered filter takes it.
#include "builder/CaptureBuilder.h"
#include "builder/Medium.h"
#include "builder/MonikerSearch.h"
#include "platform/Seam.h"

HRESULT CaptureBuilder::GetPinMedium(ComHolder<IPin> pin, REGPINMEDIUM* medium) {
    if (!pin || !medium) return E_POINTER;
    // A pin without kernel-streaming support fails here rather than yielding the null medium.
    ComHolder<IKsPin> ksPin;
    HRESULT hr = pin->QueryInterface(IID_IKsPin, reinterpret_cast<void**>(ksPin.Receive()));
    if (FAILED(hr)) return hr;
    if (!ksPin) return E_FAIL;
    PKSMULTIPLE_ITEM list = nullptr;
    hr = ksPin->KsQueryMediums(&list);
    if (FAILED(hr)) return hr;

    *medium = NullMedium;
    if (list) {
        // The entries are read only as far as the list's own size reaches: a count beyond
        // it is the driver's mistake, not more entries.
        const KSPIN_MEDIUM* entries = reinterpret_cast<const KSPIN_MEDIUM*>(list + 1);
        const ULONG room =
            list->Size >= sizeof *list ? ULONG((list->Size - sizeof *list) / sizeof *entries) : 0;
        const ULONG count = list->Count < room ? list->Count : room;
        for (ULONG i = 0; i < count; ++i) {
            if (IsHardwareMedium(entries[i].Set)) {
                *medium = {entries[i].Set, entries[i].Id, entries[i].Flags};
                break;
            }
        }
    }
    platform::CoTaskMemFree(list);
    return S_OK;
}

// The filters bound here are only looked at, never added to a graph.
HRESULT CaptureBuilder::FindFilterByMedium(ComHolder<IEnumMoniker> monikers, REGPINMEDIUM medium,
                                           ComHolder<IBaseFilter>* filter) {
    if (!monikers) return E_INVALIDARG;
    if (!IsHardwareMedium(medium.clsMedium)) return E_INVALIDARG;
    return OfferBoundFilters(monikers, [&](IBaseFilter* candidate) {
        ComHolder<IPin> inputPin;
        if (FAILED(FindPinByMedium(candidate, &medium, PINDIR_INPUT, &inputPin))) return false;
        AssignTo(filter, candidate);
        return true;
    });
}
