// The output file: for the dump output type the wrapper builds the writer itself from the
// dump filter; every other type goes to the platform's builder.
#include "builder/CaptureBuilder.h"
#include "platform/Seam.h"

namespace {

// The dump filter's class; the platform headers do not name it.
const CLSID CLSID_Dump = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};

}  // namespace

HRESULT CaptureBuilder::SetOutputFileName(const GUID* type, LPCOLESTR fileName,
                                          IBaseFilter** filter, IFileSinkFilter** sink) {
    if (!type || !fileName || !filter || !sink) return E_INVALIDARG;
    if (!IsEqualGUID(*type, DumpOutputSubtype)) {
        if (!innerBuilder) return E_FAIL;
        return innerBuilder->SetOutputFileName(type, fileName, filter, sink);
    }

    if (!graph) {
        HRESULT hr = GetFiltergraph(graph.Receive());
        if (FAILED(hr)) return hr;
        if (!graph) return E_FAIL;
    }
    ComHolder<IFileSinkFilter> dumpSink;
    HRESULT hr = platform::CoCreateInstance(CLSID_Dump, nullptr, CLSCTX_ALL, IID_IFileSinkFilter,
                                            reinterpret_cast<void**>(dumpSink.Receive()));
    if (FAILED(hr)) return hr;
    if (!dumpSink) return E_FAIL;
    hr = dumpSink->SetFileName(fileName, nullptr);
    if (FAILED(hr)) return hr;
    // The dump filter takes mpegFilter's place; a demultiplexer held there is let go.
    hr = dumpSink->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(mpegFilter.Receive()));
    if (FAILED(hr)) return hr;
    if (!mpegFilter) return E_FAIL;
    hr = graph->AddFilter(mpegFilter, L"Dump");
    if (FAILED(hr)) {
        mpegFilter.Clear();
        return hr;
    }

    // Each out pointer carries a reference of its own for the caller.
    dumpSink->AddRef();
    *sink = dumpSink;
    mpegFilter->AddRef();
    *filter = mpegFilter;
    return S_OK;
}
