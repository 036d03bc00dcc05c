#include "crossbar/CrossbarRouter.h"
#include <new>
#include "crossbar/Allocation.h"

CrossbarRouter::CrossbarRouter(IPin* startPin, HRESULT* result) : startPin(startPin), rootEntry() {
    HRESULT hr = E_OUTOFMEMORY;
    if (void* memory = crossbar::Allocate(sizeof(PointerList))) {
        routes = new (memory) PointerList("RoutingList", 5);
        hr = TraceRoutes(startPin, &rootEntry, 0);
    }
    if (result) *result = hr;
}

CrossbarRouter::~CrossbarRouter() {
    DestroyRoutes();
    if (routes) {
        routes->~PointerList();
        crossbar::Free(routes);
    }
}

HRESULT CrossbarRouter::GetRouteCount(LONG* count) {
    if (!count || !routes) return E_POINTER;
    *count = routes->count;
    return S_OK;
}
