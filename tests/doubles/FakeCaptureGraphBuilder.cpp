#include "doubles/FakeCaptureGraphBuilder.h"

namespace doubles {

FakeCaptureGraphBuilder::FakeCaptureGraphBuilder(std::string name, Journal* journal)
    : ComDouble(std::move(name), journal) {}

void* FakeCaptureGraphBuilder::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_ICaptureGraphBuilder2) return static_cast<ICaptureGraphBuilder2*>(this);
    return nullptr;
}

HRESULT FakeCaptureGraphBuilder::Record(BuilderCall call) {
    Log(call.method);
    auto it = results.find(call.method);
    calls.push_back(std::move(call));
    return it == results.end() ? S_OK : it->second;
}

HRESULT FakeCaptureGraphBuilder::SetFiltergraph(IGraphBuilder* g) {
    BuilderCall c{"SetFiltergraph"};
    c.graph = g;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::GetFiltergraph(IGraphBuilder** out) {
    BuilderCall c{"GetFiltergraph"};
    c.out = out;
    HRESULT hr = Record(c);
    if (out) {
        *out = SUCCEEDED(hr) ? graph : nullptr;
        if (*out) (*out)->AddRef();
    }
    return hr;
}

HRESULT FakeCaptureGraphBuilder::SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** filter,
                                                   IFileSinkFilter** sink) {
    BuilderCall c{"SetOutputFileName"};
    c.type = type;
    c.file = file;
    c.out = filter;
    c.out2 = sink;
    if (filter) *filter = nullptr;
    if (sink) *sink = nullptr;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                               REFIID iid, void** out) {
    BuilderCall c{"FindInterface"};
    c.category = category;
    c.type = type;
    c.filter = filter;
    c.iid = &iid;
    c.out = out;
    if (out) *out = nullptr;
    HRESULT hr = Record(c);
    return onFindInterface ? onFindInterface(calls.back(), out) : hr;
}

HRESULT FakeCaptureGraphBuilder::RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                              IBaseFilter* compressor, IBaseFilter* renderer) {
    BuilderCall c{"RenderStream"};
    c.category = category;
    c.type = type;
    c.source = source;
    c.filter = compressor;
    c.renderer = renderer;
    HRESULT hr = Record(c);
    return onRenderStream ? onRenderStream(calls.back()) : hr;
}

HRESULT FakeCaptureGraphBuilder::ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                               REFERENCE_TIME* start, REFERENCE_TIME* stop, WORD startCookie,
                                               WORD stopCookie) {
    BuilderCall c{"ControlStream"};
    c.category = category;
    c.type = type;
    c.filter = filter;
    c.start = start;
    c.stop = stop;
    c.startCookie = startCookie;
    c.stopCookie = stopCookie;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::AllocCapFile(LPCOLESTR file, DWORDLONG size) {
    BuilderCall c{"AllocCapFile"};
    c.file = file;
    c.size = size;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile, int allowEscAbort,
                                                 IAMCopyCaptureFileProgress* progress) {
    BuilderCall c{"CopyCaptureFile"};
    c.file = oldFile;
    c.file2 = newFile;
    c.allowEscAbort = allowEscAbort;
    c.progress = progress;
    return Record(c);
}

HRESULT FakeCaptureGraphBuilder::FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                                         const GUID* type, WINBOOL unconnected, int index, IPin** out) {
    BuilderCall c{"FindPin"};
    c.source = source;
    c.direction = direction;
    c.category = category;
    c.type = type;
    c.unconnected = unconnected;
    c.index = index;
    c.out = out;
    if (out) *out = nullptr;
    HRESULT hr = Record(c);
    return onFindPin ? onFindPin(calls.back(), out) : hr;
}

}  // namespace doubles
