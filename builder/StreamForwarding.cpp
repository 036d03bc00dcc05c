#include "builder/CaptureBuilder.h"

// Interim: both operations pass straight through until the MPEG-2 paths are in place.
HRESULT CaptureBuilder::RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                     IBaseFilter* compressor, IBaseFilter* renderer) {
    if (!innerBuilder) return E_FAIL;
    return innerBuilder->RenderStream(category, type, source, compressor, renderer);
}

HRESULT CaptureBuilder::SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** filter,
                                          IFileSinkFilter** sink) {
    if (!innerBuilder) return E_FAIL;
    return innerBuilder->SetOutputFileName(type, file, filter, sink);
}
