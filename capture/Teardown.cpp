// Emptying the capture state: downstream filters first, then the record's own references.
#include "capture/CaptureState.h"
#include "builder/CaptureBuilder.h"
#include "crossbar/CrossbarRouter.h"

CaptureState captureState;

void RemoveDownstream(IBaseFilter* filter) {
    if (!filter) return;
    ComHolder<IEnumPins> pins;
    if (filter->EnumPins(pins.Receive()) != S_OK) return;
    pins->Reset();
    IFilterGraph* graph = captureState.filterGraph;
    for (;;) {
        ComHolder<IPin> pin;
        if (NextItem(pins.Get(), pin) != S_OK) break;
        if (!pin) continue;
        ComHolder<IPin> peer;
        pin->ConnectedTo(peer.Receive());
        if (!peer) continue;
        PIN_INFO info = {};
        HRESULT hr = peer->QueryPinInfo(&info);
        ComHolder<IBaseFilter> peerFilter;
        // Adopt the reference the info carries, also from a success other than S_OK.
        if (SUCCEEDED(hr)) *peerFilter.Receive() = info.pFilter;
        if (hr != S_OK) break;
        // An input peer belongs to a filter downstream: remove everything beyond it first.
        // An output peer is upstream (a crossbar or tuner) and stays.
        if (info.dir == PINDIR_INPUT) {
            RemoveDownstream(peerFilter);
            if (graph) {
                graph->Disconnect(peer);
                graph->Disconnect(pin);
                graph->RemoveFilter(peerFilter);
            }
        }
    }
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
