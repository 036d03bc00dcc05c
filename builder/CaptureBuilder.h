#pragma once
// The capture graph builder wrapper. It owns the platform's capture graph builder and
// offers its nine operations in the platform's alphabetical slot order: seven pass
// straight through, RenderStream and SetOutputFileName add MPEG-2 handling. It is not a
// COM object; the capture state creates it with new and deletes it through this type.
#include "platform/ComHolder.h"
#include "platform/Win.h"

// Output type that makes SetOutputFileName write through the dump filter.
extern const GUID DumpOutputSubtype;

class CaptureBuilder final {
public:
    CaptureBuilder();
    ~CaptureBuilder();
    CaptureBuilder(const CaptureBuilder&) = delete;
    CaptureBuilder& operator=(const CaptureBuilder&) = delete;

    virtual HRESULT AllocCapFile(LPCOLESTR file, DWORDLONG size);
    virtual HRESULT ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                  REFERENCE_TIME* start, REFERENCE_TIME* stop, WORD startCookie, WORD stopCookie);
    virtual HRESULT CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile, int allowEscAbort,
                                    IAMCopyCaptureFileProgress* progress);
    virtual HRESULT FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter, REFIID iid,
                                  void** out);
    virtual HRESULT FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category, const GUID* type,
                            BOOL unconnected, int index, IPin** out);
    virtual HRESULT GetFiltergraph(IGraphBuilder** out);
    virtual HRESULT RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                 IBaseFilter* compressor, IBaseFilter* renderer);
    virtual HRESULT SetFiltergraph(IGraphBuilder* graph);
    virtual HRESULT SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** filter,
                                      IFileSinkFilter** sink);

    // Lets go of the filters the MPEG-2 paths inserted; the inner builder and the graph
    // stay for the next graph.
    void ReleaseFilters();

    // MPEG-2 rendering. Interface arguments are owning copies the callee releases.
    HRESULT ConnectSourceToDemultiplexer(ComHolder<IBaseFilter> source);
    HRESULT InsertVideoEncoder(ComHolder<IPin> videoPin);
    HRESULT InsertVideoEncoderByTrial(ComHolder<IPin> videoPin, ComHolder<IEnumMoniker> encoders);
    HRESULT InsertVideoEncoderByMedium(ComHolder<IPin> videoPin, const REGPINMEDIUM* medium,
                                       ComHolder<IEnumMoniker> encoders);
    HRESULT ConnectEncoderToDemultiplexer(ComHolder<IBaseFilter> encoder, const REGPINMEDIUM* medium);
    HRESULT InsertMultiplexer(ComHolder<IBaseFilter> encoder, ComHolder<IEnumMoniker> multiplexers);
    HRESULT InsertAudioEncoder(ComHolder<IPin> audioPin, ComHolder<IBaseFilter> multiplexer);

    // Output file and MPEG-2 helpers.
    HRESULT CreateEncoderEnumerator(ComHolder<IEnumMoniker>* out);
    HRESULT CreateMultiplexerEnumerator(ComHolder<IEnumMoniker>* out);
    HRESULT CreateMatchingFilterEnumerator(const REGPINMEDIUM* medium, ComHolder<IEnumMoniker>* out);
    HRESULT ConfigureDemultiplexer(ComHolder<IBaseFilter> demultiplexer);
    HRESULT ConfigureDemuxVideoPin(ComHolder<IMpeg2Demultiplexer> demultiplexer);
    HRESULT ConfigureDemuxAudioPin(ComHolder<IMpeg2Demultiplexer> demultiplexer);

    // Pin and filter connection operations.
    BOOL PinHasMajorType(ComHolder<IPin> pin, const GUID* majorType);
    BOOL IsVideoPin(ComHolder<IPin> pin);
    BOOL IsAudioPin(ComHolder<IPin> pin);
    BOOL IsMpeg2Pin(ComHolder<IPin> pin);
    HRESULT FindMpeg2OutputPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* out);
    HRESULT FindVideoPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* out);
    HRESULT FindAudioPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* out);
    HRESULT GetPinMedium(ComHolder<IPin> pin, REGPINMEDIUM* medium);
    HRESULT FindPinByMedium(ComHolder<IBaseFilter> filter, const REGPINMEDIUM* medium, PIN_DIRECTION direction,
                            ComHolder<IPin>* out);
    HRESULT FindFilterByMedium(ComHolder<IEnumMoniker> monikers, REGPINMEDIUM medium,
                               ComHolder<IBaseFilter>* out);
    HRESULT ConnectPinToFilter(ComHolder<IPin> output, ComHolder<IBaseFilter> filter);
    HRESULT ConnectFilters(ComHolder<IBaseFilter> upstream, ComHolder<IBaseFilter> downstream);

    ComHolder<IBaseFilter> multiplexer;
    ComHolder<IBaseFilter> videoEncoder;
    ComHolder<IBaseFilter> mpegFilter;
    ComHolder<ICaptureGraphBuilder2> innerBuilder;
    ComHolder<IGraphBuilder> graph;
    DWORD videoStreamId = 224;
    DWORD audioStreamId = 192;
};
