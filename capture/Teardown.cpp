// Emptying the capture state: downstream filters first, then the record's own references.
#include "capture/CaptureState.h"
#include "builder/CaptureBuilder.h"
#include "crossbar/CrossbarRouter.h"

CaptureState captureState;

namespace {
// The filters on the way down from the one the removal started at. A filter met again on
// it means pins that claim to be inputs in a cycle: it is not entered twice.
struct RemovalPath {
    IBaseFilter* filter;
    const RemovalPath* upstream;
    bool Holds(IBaseFilter* f) const { return filter == f || (upstream && upstream->Holds(f)); }
};

// The most filters one removal enters; a real graph downstream of a capture filter has a
// handful. A driver whose pins hand out a new filter each time cannot keep it going.
const int maxFiltersRemoved = 256;

void RemoveDownstream(IBaseFilter* filter, const RemovalPath* upstream, int& entered) {
    if (!filter || entered >= maxFiltersRemoved) return;
    ++entered;
    const RemovalPath path = {filter, upstream};
    ComHolder<IEnumPins> pins;
    if (filter->EnumPins(pins.Receive()) != S_OK || !pins) return;
    pins->Reset();
    IFilterGraph* graph = captureState.filterGraph;
    ULONG taken = 0;
    for (;;) {
        ComHolder<IPin> pin;
        if (NextItem(pins.Get(), pin, taken) != S_OK) break;
        if (!pin) continue;
        ComHolder<IPin> peer;
        pin->ConnectedTo(peer.Receive());
        if (!peer) continue;
        PIN_INFO info = {};
        HRESULT hr = peer->QueryPinInfo(&info);
        ComHolder<IBaseFilter> peerFilter;
        // Adopt the reference the info carries, also from a success other than S_OK.
        if (SUCCEEDED(hr)) *peerFilter.Receive() = info.pFilter;
        // Information that fails or names no filter ends the removal here, as the graph
        // cannot be told which filter to remove.
        if (hr != S_OK || !peerFilter) break;
        // An input peer belongs to a filter downstream: remove everything beyond it first.
        // An output peer is upstream (a crossbar or tuner) and stays.
        if (info.dir == PINDIR_INPUT && !path.Holds(peerFilter)) {
            RemoveDownstream(peerFilter, &path, entered);
            if (graph) {
                graph->Disconnect(peer);
                graph->Disconnect(pin);
                graph->RemoveFilter(peerFilter);
            }
        }
    }
}
}  // namespace

void RemoveDownstream(IBaseFilter* filter) {
    int entered = 0;
    RemoveDownstream(filter, nullptr, entered);
}

void TearDownGraph() {
    if (captureState.videoCaptureFilter) RemoveDownstream(captureState.videoCaptureFilter);
    if (captureState.audioCaptureFilter) RemoveDownstream(captureState.audioCaptureFilter);
    if (captureState.videoCaptureFilter && captureState.builder)
        captureState.builder->ReleaseFilters();
}

void ReleaseCaptureFilters() {
    CaptureState& s = captureState;
    s.filterGraph.Clear();
    if (CaptureBuilder* builder = s.builder) {
        s.builder = nullptr;
        delete builder;
    }
    s.videoCaptureFilter.Clear();
    s.audioCaptureFilter.Clear();
    s.audioStreamConfig.Clear();
    s.videoStreamConfig.Clear();
    s.videoCompression.Clear();
    s.vfwCaptureDialogs.Clear();
    if (CrossbarRouter* router = s.crossbarRouter) {
        s.crossbarRouter = nullptr;
        delete router;
    }
}
