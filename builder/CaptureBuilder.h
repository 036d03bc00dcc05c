#pragma once
// The capture graph builder wrapper: owns the platform's capture graph builder, forwards
// seven of its nine operations unchanged and renders byte streams through MPEG-2 itself.
#include "platform/ComHolder.h"

class CaptureBuilder {
public:
    CaptureBuilder();
    ~CaptureBuilder();  // not virtual: deleted through its own type only
    CaptureBuilder(const CaptureBuilder&) = delete;
    CaptureBuilder& operator=(const CaptureBuilder&) = delete;

    // The nine operations, in table order.
    virtual HRESULT AllocCapFile(LPCOLESTR fileName, DWORDLONG size);
    virtual HRESULT ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                  REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                  WORD startCookie, WORD stopCookie);
    virtual HRESULT CopyCaptureFile(LPOLESTR oldFileName, LPOLESTR newFileName,
                                    int allowEscAbort, IAMCopyCaptureFileProgress* callback);
    virtual HRESULT FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                  REFIID riid, void** result);
    virtual HRESULT FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category,
                            const GUID* type, BOOL unconnectedOnly, int index, IPin** pin);
    virtual HRESULT GetFiltergraph(IGraphBuilder** graphOut);
    virtual HRESULT RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                 IBaseFilter* compressor, IBaseFilter* renderer);
    virtual HRESULT SetFiltergraph(IGraphBuilder* filterGraph);
    virtual HRESULT SetOutputFileName(const GUID* type, LPCOLESTR fileName,
                                      IBaseFilter** filter, IFileSinkFilter** sink);

    // Lets go of the filters this wrapper put into the graph itself; the inner builder
    // and the graph stay, so the wrapper serves the next graph.
    void ReleaseFilters();

    // Byte-stream rendering.
    HRESULT ConnectSourceToDemultiplexer(ComHolder<IBaseFilter> source);
    HRESULT InsertVideoEncoder(ComHolder<IPin> videoPin);
    HRESULT InsertVideoEncoderByTrial(ComHolder<IPin> videoPin, ComHolder<IEnumMoniker> encoders);
    HRESULT InsertVideoEncoderByMedium(ComHolder<IPin> videoPin, const REGPINMEDIUM* medium,
                                       ComHolder<IEnumMoniker> encoders);
    HRESULT ConnectEncoderToDemultiplexer(ComHolder<IBaseFilter> encoder, const REGPINMEDIUM* medium);
    HRESULT InsertMultiplexer(ComHolder<IBaseFilter> encoder, ComHolder<IEnumMoniker> multiplexers);
    HRESULT InsertAudioEncoder(ComHolder<IPin> audioPin, ComHolder<IBaseFilter> mux);

    // Output file and MPEG-2 helpers.
    HRESULT CreateEncoderEnumerator(ComHolder<IEnumMoniker>* encoders);
    HRESULT CreateMultiplexerEnumerator(ComHolder<IEnumMoniker>* multiplexers);
    HRESULT CreateMatchingFilterEnumerator(const REGPINMEDIUM* medium, ComHolder<IEnumMoniker>* filters);
    HRESULT ConfigureDemultiplexer(ComHolder<IBaseFilter> demux);
    HRESULT ConfigureDemuxVideoPin(ComHolder<IMpeg2Demultiplexer> demux);
    HRESULT ConfigureDemuxAudioPin(ComHolder<IMpeg2Demultiplexer> demux);

    // Pin and filter operations.
    bool PinHasMajorType(ComHolder<IPin> pin, const GUID* majorType);
    bool IsVideoPin(ComHolder<IPin> pin);
    bool IsAudioPin(ComHolder<IPin> pin);
    bool IsMpeg2Pin(ComHolder<IPin> pin);
    HRESULT FindMpeg2OutputPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* pin);
    HRESULT FindVideoPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* pin);
    HRESULT FindAudioPin(ComHolder<IBaseFilter> filter, ComHolder<IPin>* pin);
    HRESULT GetPinMedium(ComHolder<IPin> pin, REGPINMEDIUM* medium);
    HRESULT FindPinByMedium(ComHolder<IBaseFilter> filter, const REGPINMEDIUM* medium,
                            PIN_DIRECTION direction, ComHolder<IPin>* pin);
    HRESULT FindFilterByMedium(ComHolder<IEnumMoniker> monikers, REGPINMEDIUM medium,
                               ComHolder<IBaseFilter>* filter);
    HRESULT ConnectPinToFilter(ComHolder<IPin> outputPin, ComHolder<IBaseFilter> filter);
    HRESULT ConnectFilters(ComHolder<IBaseFilter> upstream, ComHolder<IBaseFilter> downstream);

    // Members, in declaration order; public so tests can look at them.
    ComHolder<IBaseFilter> multiplexer;
    ComHolder<IBaseFilter> videoEncoder;
    ComHolder<IBaseFilter> mpegFilter;
    ComHolder<ICaptureGraphBuilder2> innerBuilder;
    ComHolder<IGraphBuilder> graph;
    const ULONG videoStreamId = 0xE0;
    const ULONG audioStreamId = 0xC0;
};

// The output type for which SetOutputFileName builds the writer from the dump filter.
// {7DC2C665-4033-4CAF-9273-F7D797FB245C}
extern const GUID DumpOutputSubtype;
