#pragma once
// The one way candidate filters are taken from a moniker enumerator: in enumeration order,
// one moniker at a time, skipping monikers that do not bind to a filter.
#include "platform/ComHolder.h"

// Offers each bound filter to tryFilter until it takes one (returns true): S_OK, or E_FAIL
// when the enumeration ends first.
template <class TryFilter>
HRESULT OfferBoundFilters(IEnumMoniker* monikers, TryFilter tryFilter) {
    ComHolder<IMoniker> moniker;
    ULONG taken = 0;
    while (NextItem(monikers, moniker, taken) == S_OK) {
        if (!moniker) continue;
        ComHolder<IBaseFilter> filter;
        HRESULT hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                           reinterpret_cast<void**>(filter.Receive()));
        if (FAILED(hr) || !filter) continue;
        if (tryFilter(filter)) return S_OK;
    }
    return E_FAIL;
}
