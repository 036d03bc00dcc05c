#include "builder/CaptureBuilder.h"
#include "platform/Seam.h"

// {7DC2C665-4033-4CAF-9273-F7D797FB245C}
const GUID DumpOutputSubtype = {0x7dc2c665, 0x4033, 0x4caf, {0x92, 0x73, 0xf7, 0xd7, 0x97, 0xfb, 0x24, 0x5c}};

namespace {

// Without a platform builder an operation fails as the platform would: E_FAIL and
// nothing handed out.
template <class T>
HRESULT NoBuilder(T** out) {
    if (out) *out = nullptr;
    return E_FAIL;
}

}  // namespace

// A failed creation leaves innerBuilder null and is not reported; every forwarded
// operation then fails instead of calling through null, so callers stop at SetFiltergraph.
CaptureBuilder::CaptureBuilder() {
    platform::CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_ALL, IID_ICaptureGraphBuilder2,
                               reinterpret_cast<void**>(innerBuilder.Receive()));
}

// The holders release in reverse declaration order: graph, innerBuilder, mpegFilter,
// videoEncoder, multiplexer.
CaptureBuilder::~CaptureBuilder() = default;

void CaptureBuilder::ReleaseFilters() {
    multiplexer.Clear();
    videoEncoder.Clear();
    mpegFilter.Clear();
}

HRESULT CaptureBuilder::AllocCapFile(LPCOLESTR file, DWORDLONG size) {
    if (!innerBuilder) return E_FAIL;
    return innerBuilder->AllocCapFile(file, size);
}

HRESULT CaptureBuilder::ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                      REFERENCE_TIME* start, REFERENCE_TIME* stop, WORD startCookie,
                                      WORD stopCookie) {
    if (!innerBuilder) return E_FAIL;
    return innerBuilder->ControlStream(category, type, filter, start, stop, startCookie, stopCookie);
}

HRESULT CaptureBuilder::CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile, int allowEscAbort,
                                        IAMCopyCaptureFileProgress* progress) {
    if (!innerBuilder) return E_FAIL;
    return innerBuilder->CopyCaptureFile(oldFile, newFile, allowEscAbort, progress);
}

HRESULT CaptureBuilder::FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter, REFIID iid,
                                      void** out) {
    if (!innerBuilder) return NoBuilder(out);
    return innerBuilder->FindInterface(category, type, filter, iid, out);
}

HRESULT CaptureBuilder::FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                                const GUID* type, BOOL unconnected, int index, IPin** out) {
    if (!innerBuilder) return NoBuilder(out);
    return innerBuilder->FindPin(source, direction, category, type, unconnected, index, out);
}

HRESULT CaptureBuilder::GetFiltergraph(IGraphBuilder** out) {
    if (!innerBuilder) return NoBuilder(out);
    return innerBuilder->GetFiltergraph(out);
}

HRESULT CaptureBuilder::SetFiltergraph(IGraphBuilder* filterGraph) {
    if (!innerBuilder) return E_FAIL;
    return innerBuilder->SetFiltergraph(filterGraph);
}
