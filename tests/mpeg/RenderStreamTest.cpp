// Stream rendering and the output file through the dump filter.
#include "mpeg/MpegTest.h"

namespace mpeg {
namespace {

const REGPINMEDIUM Hardware2 = {{0x5678, 0, 0, {8, 7, 6, 5, 4, 3, 2, 1}}, 1, 0};
// Written out here from its published text, not taken from the code under test.
const CLSID DumpClass = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
const GUID DumpType = {0x7DC2C665, 0x4033, 0x4CAF, {0x92, 0x73, 0xF7, 0xD7, 0x97, 0xFB, 0x24, 0x5C}};

class RenderStream : public MpegTest {
protected:
    HRESULT RenderBytes(IBaseFilter* from, IBaseFilter* renderer = nullptr) {
        return builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Stream, from, &compressor, renderer);
    }
    // The demultiplexer's two outputs rendered by the platform builder, video then audio.
    void ExpectDemuxOutputsRendered() {
        std::vector<GUID> types;
        for (const BuilderCall& c : inner.calls)
            if (c.method == "RenderStream") {
                EXPECT_TRUE(!c.category && c.source == static_cast<IBaseFilter*>(&demux) && !c.filter && !c.renderer);
                types.push_back(*c.type);
            }
        EXPECT_EQ((std::vector<GUID>{MEDIATYPE_Video, MEDIATYPE_Audio}), types);
        EXPECT_EQ(2u, demux.made.size());
    }
    FakeFilter& compressor = Make<FakeFilter>("compressor");
    FakeFilter& source = Make<FakeFilter>("src");
    FakePin& demuxIn = Pin(demux, "in", PINDIR_INPUT);
};

TEST_F(RenderStream, OtherTypesGoToThePlatformBuilderUnchangedAndANullSourceIsRefused) {
    IBaseFilter* from = &source;
    for (HRESULT result : {VFW_S_NOPREVIEWPIN, E_FAIL})
        for (const GUID* type : {static_cast<const GUID*>(nullptr), &MEDIATYPE_Video}) {
            inner.calls.clear();
            inner.results["RenderStream"] = result;
            EXPECT_EQ(result, builder->RenderStream(&PIN_CATEGORY_PREVIEW, type, from, &compressor, &demux));
            ASSERT_EQ(1u, inner.calls.size());
            const BuilderCall& c = inner.calls[0];
            EXPECT_TRUE(c.category == &PIN_CATEGORY_PREVIEW && c.type == type && c.source == from &&
                        c.filter == static_cast<IBaseFilter*>(&compressor) && c.renderer == static_cast<IBaseFilter*>(&demux));
        }
    EXPECT_FALSE(builder->graph);
    source.Hide(IID_IBaseFilter);
    EXPECT_EQ(E_INVALIDARG, RenderBytes(nullptr));
    EXPECT_EQ(E_INVALIDARG, RenderBytes(&source));
    EXPECT_TRUE(graph.filters.empty());
}

TEST_F(RenderStream, AnMpeg2SourceFeedsTheDemultiplexerDirectlyWhichIsThenReused) {
    FakePin& out = Pin(source, "out", PINDIR_OUTPUT, {ProgramStream});
    FakePin& demuxIn2 = Pin(demux, "in2", PINDIR_INPUT);
    graph.Allow(&out, &demuxIn);
    graph.Allow(&out, &demuxIn2);
    ASSERT_EQ(S_OK, RenderBytes(&source));
    EXPECT_EQ(L"MPEG2 Demux", demux.joinedName);
    EXPECT_EQ(static_cast<IPin*>(&demuxIn), out.peer);
    ExpectDemuxOutputsRendered();
    EXPECT_FALSE(builder->videoEncoder || builder->multiplexer);
    EXPECT_EQ(0, registry.CallsFor(CLSID_SystemDeviceEnum));

    // With a renderer the call ends once the source is connected: no pins, no rendering.
    FakeFilter& renderer = Make<FakeFilter>("renderer");
    ASSERT_EQ(S_OK, RenderBytes(&source, &renderer));
    EXPECT_EQ(static_cast<IPin*>(&out), demuxIn2.peer);
    EXPECT_EQ(1, registry.CallsFor(CLSID_MPEG2Demultiplexer));
    EXPECT_EQ("graph.AddFilter(demux)", Journaled("graph.AddFilter"));
    EXPECT_EQ(2u, demux.made.size());
}

// A source on the null medium: encoders are tried in turn until one connects. One that
// refuses the audio stays in the chain it already carries.
class EncoderByTrial : public RenderStream, public ::testing::WithParamInterface<bool> {};

TEST_P(EncoderByTrial, TheEncoderThatConnectsStaysWithOrWithoutTheAudio) {
    bool takesAudio = GetParam();
    FakePin& video = Pin(source, "v", PINDIR_OUTPUT, {VideoRgb}, {}, true);
    FakePin& audio = Pin(source, "a", PINDIR_OUTPUT, {AudioPcm}, {Standard});
    FakeFilter& enc1 = Make<FakeFilter>("enc1");
    Pin(enc1, "in", PINDIR_INPUT);
    FakeFilter& enc2 = Make<FakeFilter>("enc2");
    FakePin& enc2In = Pin(enc2, "in", PINDIR_INPUT);
    FakePin& enc2AudioIn = Pin(enc2, "audioIn", PINDIR_INPUT);
    FakePin& enc2Out = Pin(enc2, "out", PINDIR_OUTPUT);
    for (FakeFilter* f : {&enc1, &enc2}) devices.Add(KSCATEGORY_ENCODER, &MonikerFor(f));
    graph.Allow(&video, &enc2In);
    graph.Allow(&enc2Out, &demuxIn);
    if (takesAudio) graph.Allow(&audio, &enc2AudioIn);

    ASSERT_EQ(S_OK, RenderBytes(&source));
    EXPECT_EQ(static_cast<IBaseFilter*>(&enc2), builder->videoEncoder.Get());
    EXPECT_EQ(L"Encoder", enc2.joinedName);
    EXPECT_TRUE(graph.Contains(&enc2) && !graph.Contains(&enc1));
    EXPECT_EQ(static_cast<IPin*>(&enc2In), video.peer);
    EXPECT_EQ(takesAudio ? static_cast<IPin*>(&enc2AudioIn) : nullptr, audio.peer);
    ExpectDemuxOutputsRendered();
}

INSTANTIATE_TEST_SUITE_P(TakesAudio, EncoderByTrial, ::testing::Bool());

// A source on hardware mediums: the video encoder comes from the filter mapper and reaches
// the demultiplexer through the second multiplexer; the audio encoder joins that one.
TEST_F(RenderStream, HardwareMediumsBuildEncoderMultiplexerAndAudioEncoder) {
    FakePin& video = Pin(source, "v", PINDIR_OUTPUT, {VideoRgb}, {Hardware});
    FakePin& audio = Pin(source, "a", PINDIR_OUTPUT, {AudioPcm}, {Hardware2});
    FakeFilter& encoder = Make<FakeFilter>("enc");
    FakePin& encoderIn = Pin(encoder, "in", PINDIR_INPUT, {VideoRgb}, {Hardware});
    FakePin& encoderOut = Pin(encoder, "out", PINDIR_OUTPUT);
    FakeFilter& audioEncoder = Make<FakeFilter>("aenc");
    FakePin& audioIn = Pin(audioEncoder, "in", PINDIR_INPUT, {VideoRgb}, {Hardware2});
    FakePin& audioOut = Pin(audioEncoder, "out", PINDIR_OUTPUT);
    FakeFilter& mux1 = Make<FakeFilter>("mux1");
    Pin(mux1, "in", PINDIR_INPUT);
    FakeFilter& mux2 = Make<FakeFilter>("mux2");
    FakePin& muxIn1 = Pin(mux2, "in1", PINDIR_INPUT);
    FakePin& muxIn2 = Pin(mux2, "in2", PINDIR_INPUT);
    FakePin& muxOut = Pin(mux2, "out", PINDIR_OUTPUT);
    devices.Add(KSCATEGORY_ENCODER, &MonikerFor(&audioEncoder));
    for (FakeFilter* f : {&mux1, &mux2}) devices.Add(KSCATEGORY_MULTIPLEXER, &MonikerFor(f));
    mapper.monikers = {&MonikerFor(&encoder)};
    graph.allowed = {{&video, &encoderIn}, {&encoderOut, &muxIn1}, {&muxOut, &demuxIn}, {&audio, &audioIn},
                     {&audioOut, &muxIn2}};

    ASSERT_EQ(S_OK, RenderBytes(&source));
    EXPECT_EQ(0, memcmp(&Hardware, &mapper.askedMedium, sizeof Hardware));
    EXPECT_EQ(static_cast<IBaseFilter*>(&encoder), builder->videoEncoder.Get());
    EXPECT_EQ(static_cast<IBaseFilter*>(&mux2), builder->multiplexer.Get());
    EXPECT_EQ(L"Audio Encoder", audioEncoder.joinedName);
    EXPECT_EQ("graph.RemoveFilter(mux1)", Journaled("graph.RemoveFilter"));
    for (FakePin* in : {&encoderIn, &muxIn1, &demuxIn, &audioIn, &muxIn2}) EXPECT_TRUE(in->peer) << in->name;
    ExpectDemuxOutputsRendered();
}

TEST_F(RenderStream, AnEncoderReachingTheDemultiplexerByNoRoadTellsTheMedium) {
    builder->graph = &graph;
    builder->mpegFilter = static_cast<IBaseFilter*>(&demux);
    FakeFilter& encoder = Make<FakeFilter>("enc");
    Pin(encoder, "out", PINDIR_OUTPUT);
    EXPECT_EQ(E_FAIL, builder->ConnectEncoderToDemultiplexer(&encoder, &NoMedium));
    EXPECT_EQ(E_NOTIMPL, builder->ConnectEncoderToDemultiplexer(&encoder, &Hardware));
}

class OutputFile : public MpegTest {
protected:
    OutputFile() { registry.Register(DumpClass, static_cast<IBaseFilter*>(&dump)); }
    FakeDump& dump = Make<FakeDump>("dump");
    ComHolder<IBaseFilter> filter;
    ComHolder<IFileSinkFilter> sink;
};

TEST_F(OutputFile, NullArgumentsAreRefusedAndOtherTypesForwardedUnchanged) {
    IBaseFilter* f = nullptr;
    IFileSinkFilter* s = nullptr;
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(nullptr, L"x", &f, &s));
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(&DumpType, nullptr, &f, &s));
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(&DumpType, L"x", nullptr, &s));
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(&DumpType, L"x", &f, nullptr));
    EXPECT_TRUE(inner.calls.empty());

    inner.results["SetOutputFileName"] = E_ACCESSDENIED;
    const wchar_t* file = L"capture.mpg";
    EXPECT_EQ(E_ACCESSDENIED, builder->SetOutputFileName(&MEDIASUBTYPE_MPEG2_PROGRAM, file, &f, &s));
    ASSERT_EQ(1u, inner.calls.size());
    const BuilderCall& call = inner.calls[0];
    EXPECT_TRUE(call.type == &MEDIASUBTYPE_MPEG2_PROGRAM && call.file == file && call.out == &f && call.out2 == &s);
    EXPECT_FALSE(builder->graph || builder->mpegFilter);
}

TEST_F(OutputFile, DumpPathFetchesTheGraphOnceAndReplacesMpegFilterAndARefusedDumpIsLetGo) {
    builder->mpegFilter = static_cast<IBaseFilter*>(&demux);  // left by an earlier rendering
    for (int call = 0; call < 2; ++call) {
        ASSERT_EQ(S_OK, builder->SetOutputFileName(&DumpType, L"out.dump", filter.Receive(), sink.Receive()));
        EXPECT_EQ(static_cast<IBaseFilter*>(&dump), filter.Get());
        EXPECT_EQ(static_cast<IFileSinkFilter*>(&dump), sink.Get());
        EXPECT_EQ(static_cast<IBaseFilter*>(&dump), builder->mpegFilter.Get());
    }
    EXPECT_EQ(1, demux.refs);  // the demultiplexer's reference was let go
    EXPECT_EQ("inner.GetFiltergraph", Journaled("inner."));
    EXPECT_EQ(L"out.dump", dump.file);
    EXPECT_FALSE(dump.hadType);
    EXPECT_EQ(L"Dump", dump.joinedName);
    graph.RemoveFilter(&dump);
    builder->ReleaseFilters();
    graph.addFilterResults = {VFW_E_DUPLICATE_NAME};
    EXPECT_EQ(VFW_E_DUPLICATE_NAME, builder->SetOutputFileName(&DumpType, L"out.dump", filter.Receive(), sink.Receive()));
    EXPECT_FALSE(builder->mpegFilter || filter || sink);
}

}  // namespace
}  // namespace mpeg
