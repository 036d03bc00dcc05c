#pragma once
// Doubles the MPEG-2 tests need beyond the shared ones: a graph that connects only the pin
// pairs a test allows, the demultiplexer, the dump filter, the filter mapper, and a pin
// that really connects through IPin::Connect for Wine's own filter graph.
#include "doubles/ComDoubles.h"
#include <memory>

namespace mpeg {

using namespace doubles;

// ConnectDirect succeeds for an allowed (output, input) pair whose input is still free.
class PairGraph : public FakeGraph {
public:
    using FakeGraph::FakeGraph;
    void Allow(IPin* out, IPin* in) { allowed.push_back({out, in}); }
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) override;
    std::vector<std::pair<IPin*, IPin*>> allowed;
};

// An output pin the demultiplexer made, with the stream ids mapped to it.
class MappedPin : public FakePin, public IMPEG2StreamIdMap {
public:
    using FakePin::FakePin;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE MapStreamId(ULONG id, DWORD content, ULONG substream, int offset) override;
    HRESULT STDMETHODCALLTYPE UnmapStreamId(ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumStreamIdMap(IEnumStreamIdMap**) override { return E_NOTIMPL; }
    std::string pinName;
    AM_MEDIA_TYPE type{};        // as handed to CreateOutputPin, format pointer cleared
    std::vector<BYTE> format;    // the format block's bytes
    std::vector<std::vector<LONG>> maps;  // id, content, substream, offset

protected:
    void* Native(REFIID iid) override;
};

class FakeDemux : public FakeFilter, public IMpeg2Demultiplexer {
public:
    using FakeFilter::FakeFilter;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE CreateOutputPin(AM_MEDIA_TYPE* mt, LPWSTR name, IPin** out) override;
    HRESULT STDMETHODCALLTYPE SetOutputPinMediaType(LPWSTR, AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteOutputPin(LPWSTR) override { return E_NOTIMPL; }
    std::vector<std::unique_ptr<MappedPin>> made;
    HRESULT createResult = S_OK;

protected:
    void* Native(REFIID iid) override;
};

class FakeDump : public FakeFilter, public IFileSinkFilter {
public:
    using FakeFilter::FakeFilter;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR file, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR*, AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    std::wstring file;
    bool hadType = false;

protected:
    void* Native(REFIID iid) override;
};

// EnumMatchingFilters keeps its arguments and hands out an enumerator over monikers.
class FakeMapper : public ComDouble, public IFilterMapper2 {
public:
    using ComDouble::ComDouble;
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE CreateCategory(REFCLSID, DWORD, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnregisterFilter(const CLSID*, LPCOLESTR, REFCLSID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterFilter(REFCLSID, LPCWSTR, IMoniker**, const CLSID*, LPCOLESTR,
                                             const REGFILTER2*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumMatchingFilters(IEnumMoniker** out, DWORD flags, WINBOOL exact, DWORD merit,
                                                  WINBOOL inputNeeded, DWORD inputTypes, const GUID* inTypes,
                                                  const REGPINMEDIUM* medIn, const CLSID* categoryIn,
                                                  WINBOOL render, WINBOOL outputNeeded, DWORD outputTypes,
                                                  const GUID* outTypes, const REGPINMEDIUM* medOut,
                                                  const CLSID* categoryOut) override;
    std::vector<IMoniker*> monikers;
    std::vector<ULONG_PTR> args;  // every argument after ppEnum, pointers as numbers

protected:
    void* Native(REFIID iid) override;
};

// Connects for real when Wine's graph asks it to: the input side accepts while free.
class LivePin : public FakePin {
public:
    using FakePin::FakePin;
    HRESULT STDMETHODCALLTYPE Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    bool accepts = true;
};

}  // namespace mpeg
