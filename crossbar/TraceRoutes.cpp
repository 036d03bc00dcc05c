#include "crossbar/CrossbarRouter.h"
#include "platform/ComHolder.h"

// Physical connector types from here on are audio; only video inputs are followed.
static const LONG firstAudioPhysicalType = 0x1000;

namespace {
// Whether the crossbar is already on the path from the start pin up to this level: the
// entries below this one hold their crossbars while the walk is above them.
bool OnPath(const RoutingEntry* entry, const IAMCrossbar* crossbar) {
    for (const RoutingEntry* e = entry->downstream; e; e = e->downstream)
        if (e->crossbar == crossbar) return true;
    return false;
}
}  // namespace

HRESULT CrossbarRouter::TraceRoutes(IPin* pin, RoutingEntry* entry, LONG depth) {
    if (!pin || !entry) return E_POINTER;

    const HRESULT noCrossbar = depth > 0 ? pathEnds : E_FAIL;
    ComHolder<IPin> peer;
    if (pin->ConnectedTo(peer.Receive()) != S_OK || !peer) return noCrossbar;

    PIN_INFO info = {};
    if (FAILED(peer->QueryPinInfo(&info))) return S_OK;
    ComHolder<IBaseFilter> filter;
    *filter.Receive() = info.pFilter;  // adopts the reference QueryPinInfo handed out

    ComHolder<IAMCrossbar> crossbar;
    if (!filter || filter->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(crossbar.Receive())) != S_OK ||
        !crossbar)
        return noCrossbar;
    // Crossbars wired in a loop, a chain deeper than any real one, or a walk that has done
    // all the work it may: nothing is stored through this crossbar.
    if (depth >= maxDepth || OnPath(entry, crossbar) || crossbarVisits >= maxCrossbarVisits) return E_FAIL;
    ++crossbarVisits;

    // A crossbar that cannot describe itself, or whose counts disagree with the pins it
    // enumerates (its inputs come first, then the output that feeds this pin), is taken as
    // one without routable inputs.
    LONG outputCount = 0, inputCount = 0, outIndex = 0, outPosition = 0;
    LONG outputRelated = 0, outputType = 0;
    if (FAILED(crossbar->get_PinCounts(&outputCount, &inputCount)) ||
        FAILED(IndexOfPin(crossbar, &outIndex, FALSE, peer, &outPosition)) ||
        FAILED(crossbar->get_CrossbarPinInfo(FALSE, outIndex, &outputRelated, &outputType)) ||
        inputCount != outPosition - outIndex)
        inputCount = 0;

    for (LONG i = 0; i < inputCount && !RoutesFull(); ++i) {
        LONG inputRelated = 0, inputType = 0;
        if (FAILED(crossbar->get_CrossbarPinInfo(TRUE, i, &inputRelated, &inputType))) continue;
        if (inputType >= firstAudioPhysicalType) continue;
        if (crossbar->CanRoute(outIndex, i) != S_OK) continue;

        ComHolder<IPin> inputPin;
        PinAtIndex(crossbar, i, TRUE, inputPin.Receive());

        RoutingEntry next = {};
        entry->crossbar = crossbar;  // borrowed; StoreRoute takes the references
        entry->inputIndex = i;
        entry->outputIndex = outIndex;
        entry->inputRelatedIndex = inputRelated;
        entry->outputRelatedIndex = outputRelated;
        entry->inputPhysicalType = inputType;
        entry->outputPhysicalType = outputType;
        entry->depth = depth;
        entry->upstream = &next;
        next.downstream = entry;

        // A deeper crossbar stores its own routes; only a path ending here is stored here.
        if (TraceRoutes(inputPin, &next, depth + 1) == pathEnds) {
            entry->upstream = nullptr;
            StoreRoute(entry);
        }
    }
    return S_OK;
}
