#pragma once
// The platform capture graph builder (ICaptureGraphBuilder2). Every call is recorded with
// its arguments (pointers kept as given, no references taken) and journaled by name;
// the result is the method's scripted one, or what the test's hook returns.
#include "doubles/ComDouble.h"
#include <functional>
#include <map>

namespace doubles {

struct BuilderCall {
    std::string method;
    const GUID* category = nullptr;
    const GUID* type = nullptr;
    IUnknown* source = nullptr;
    IBaseFilter* filter = nullptr;     // FindInterface / ControlStream filter, compressor
    IBaseFilter* renderer = nullptr;
    IGraphBuilder* graph = nullptr;
    const IID* iid = nullptr;
    void* out = nullptr;               // the out-pointer argument as passed
    void* out2 = nullptr;              // the second out-pointer of SetOutputFileName
    LPCOLESTR file = nullptr;
    LPCOLESTR file2 = nullptr;
    DWORDLONG size = 0;
    REFERENCE_TIME* start = nullptr;
    REFERENCE_TIME* stop = nullptr;
    WORD startCookie = 0;
    WORD stopCookie = 0;
    int allowEscAbort = 0;
    IAMCopyCaptureFileProgress* progress = nullptr;
    PIN_DIRECTION direction = PINDIR_INPUT;
    BOOL unconnected = FALSE;
    int index = 0;
};

class FakeCaptureGraphBuilder : public ComDouble, public ICaptureGraphBuilder2 {
public:
    explicit FakeCaptureGraphBuilder(std::string name = "builder", Journal* journal = nullptr);
    DOUBLE_IUNKNOWN

    HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override;
    HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** out) override;
    HRESULT STDMETHODCALLTYPE SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** filter,
                                                IFileSinkFilter** sink) override;
    HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                           IBaseFilter* compressor, IBaseFilter* renderer) override;
    HRESULT STDMETHODCALLTYPE ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFERENCE_TIME* start, REFERENCE_TIME* stop, WORD startCookie,
                                            WORD stopCookie) override;
    HRESULT STDMETHODCALLTYPE AllocCapFile(LPCOLESTR file, DWORDLONG size) override;
    HRESULT STDMETHODCALLTYPE CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile, int allowEscAbort,
                                              IAMCopyCaptureFileProgress* progress) override;
    HRESULT STDMETHODCALLTYPE FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                                      const GUID* type, WINBOOL unconnected, int index, IPin** out) override;

    std::vector<BuilderCall> calls;
    // Scripted result per method name; S_OK for a method not listed.
    std::map<std::string, HRESULT> results;
    // GetFiltergraph hands this out with a reference (when the result succeeds).
    IGraphBuilder* graph = nullptr;
    // When set, decide FindInterface / FindPin instead of the scripted result; they must
    // hand out references the way the platform does.
    std::function<HRESULT(const BuilderCall&, void** out)> onFindInterface;
    std::function<HRESULT(const BuilderCall&, IPin** out)> onFindPin;
    std::function<HRESULT(const BuilderCall&)> onRenderStream;

protected:
    void* Native(REFIID iid) override;
    HRESULT Record(BuilderCall call);
};

}  // namespace doubles
