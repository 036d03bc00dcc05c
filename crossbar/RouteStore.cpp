#include "crossbar/Allocation.h"
#include "crossbar/CrossbarRouter.h"

// A route is one array, element 0 farthest upstream, each element holding a reference
// on its crossbar.
HRESULT CrossbarRouter::StoreRoute(RoutingEntry* entry) {
    if (!entry) return E_POINTER;
    const LONG n = entry->depth + 1;
    if (!routes) return E_POINTER;
    if (n < 1 || n > maxDepth || RoutesFull()) return E_FAIL;
    auto* route = static_cast<RoutingEntry*>(crossbar::Allocate(n * sizeof(RoutingEntry)));
    if (!route) return E_FAIL;
    // Listed before any reference is taken, so a failure leaves nothing to undo but the array.
    if (!routes->AddTail(route)) {
        crossbar::Free(route);
        return E_FAIL;
    }
    const RoutingEntry* source = entry;
    for (LONG k = 0; k < n; ++k) {
        route[k] = *source;
        if (route[k].crossbar) route[k].crossbar->AddRef();
        route[k].downstream = k + 1 < n ? &route[k + 1] : nullptr;
        route[k].upstream = k > 0 ? &route[k - 1] : nullptr;
        source = source->downstream;
    }
    return S_OK;
}

HRESULT CrossbarRouter::DestroyRoutes() {
    if (!routes) return E_POINTER;
    while (routes->count != 0) {
        auto* route = static_cast<RoutingEntry*>(routes->RemoveHead());
        LONG n = route->depth + 1;
        RoutingEntry* element = route;
        for (LONG k = 0; k < n && element; ++k, element = element->downstream)
            if (element->crossbar) element->crossbar->Release();
        crossbar::Free(route);
    }
    return S_OK;
}
