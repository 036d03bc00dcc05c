// Stream rendering: forwarding of every type but a byte stream, and the MPEG-2 chains the
// byte-stream path builds in front of the demultiplexer.
#include "mpeg/MpegTest.h"

namespace mpeg {
namespace {

const REGPINMEDIUM Hardware2 = {{0x5678, 0, 0, {8, 7, 6, 5, 4, 3, 2, 1}}, 1, 0};

class RenderStream : public MpegTest {
protected:
    HRESULT RenderBytes(IBaseFilter* from, IBaseFilter* renderer = nullptr) {
        return builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Stream, from, &compressor, renderer);
    }
    // The two renderings of the demultiplexer's outputs, as the platform builder saw them.
    void ExpectDemuxOutputsRendered() {
        std::vector<const GUID*> types;
        for (const BuilderCall& c : inner.calls)
            if (c.method == "RenderStream") {
                EXPECT_TRUE(!c.category && c.source == static_cast<IBaseFilter*>(&demux) && !c.filter &&
                            !c.renderer);
                types.push_back(c.type);
            }
        ASSERT_EQ(2u, types.size());
        EXPECT_TRUE(*types[0] == MEDIATYPE_Video && *types[1] == MEDIATYPE_Audio);
        EXPECT_EQ(2u, demux.made.size());
    }
    IBaseFilter* Source() { return &source; }
    FakeFilter& compressor = Make<FakeFilter>("compressor");
    FakeFilter& source = Make<FakeFilter>("src");
    FakePin& demuxIn = Pin(demux, "in", PINDIR_INPUT);
};

TEST_F(RenderStream, OtherTypesGoToThePlatformBuilderUnchanged) {
    inner.results["RenderStream"] = VFW_S_NOPREVIEWPIN;
    FakeFilter& renderer = Make<FakeFilter>("renderer");
    for (const GUID* type : {static_cast<const GUID*>(nullptr), &MEDIATYPE_Video}) {
        inner.calls.clear();
        EXPECT_EQ(VFW_S_NOPREVIEWPIN,
                  builder->RenderStream(&PIN_CATEGORY_PREVIEW, type, Source(), &compressor, &renderer));
        ASSERT_EQ(1u, inner.calls.size());
        const BuilderCall& c = inner.calls[0];
        EXPECT_TRUE(c.category == &PIN_CATEGORY_PREVIEW && c.type == type &&
                    c.source == Source() && c.filter == static_cast<IBaseFilter*>(&compressor) &&
                    c.renderer == static_cast<IBaseFilter*>(&renderer));
    }
    EXPECT_FALSE(builder->graph);
}

TEST_F(RenderStream, WithoutAPlatformBuilderForwardingFails) {
    registry.Fail(CLSID_CaptureGraphBuilder2, REGDB_E_CLASSNOTREG);
    CaptureBuilder orphan;
    IBaseFilter* f = nullptr;
    IFileSinkFilter* s = nullptr;
    EXPECT_EQ(E_FAIL, orphan.RenderStream(nullptr, &MEDIATYPE_Video, Source(), nullptr, nullptr));
    EXPECT_EQ(E_FAIL, orphan.SetOutputFileName(&MEDIASUBTYPE_Avi, L"x.avi", &f, &s));
    EXPECT_EQ(E_FAIL, orphan.RenderStream(nullptr, &MEDIATYPE_Stream, Source(), nullptr, nullptr));
}

TEST_F(RenderStream, ASourceThatIsNoFilterIsRefused) {
    source.Hide(IID_IBaseFilter);
    EXPECT_EQ(E_INVALIDARG, RenderBytes(nullptr));
    EXPECT_EQ(E_INVALIDARG, RenderBytes(Source()));
    EXPECT_EQ("inner.GetFiltergraph", Journaled("inner."));
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

TEST_F(RenderStream, AVideoPinWithoutKernelStreamingTakesTheDemultiplexerOutAgain) {
    Pin(source, "v", PINDIR_OUTPUT, {VideoRgb});
    EXPECT_EQ(E_NOINTERFACE, RenderBytes(&source));
    EXPECT_FALSE(graph.Contains(&demux));
    EXPECT_EQ(static_cast<IBaseFilter*>(&demux), builder->mpegFilter.Get());
}

// A source on the null medium: encoders are tried in turn until one connects.
class EncoderByTrial : public RenderStream {
protected:
    EncoderByTrial() {
        for (FakeFilter* f : {&enc1, &enc2}) devices.Add(KSCATEGORY_ENCODER, &MonikerFor(f));
        graph.Allow(&video, &enc2In);
        graph.Allow(&enc2Out, &demuxIn);
    }
    FakePin& video = KsPin(source, "v", PINDIR_OUTPUT, {VideoRgb}, {});
    FakePin& audio = KsPin(source, "a", PINDIR_OUTPUT, {AudioPcm}, {Standard});
    FakeFilter& enc1 = Make<FakeFilter>("enc1");
    FakePin& enc1In = Pin(enc1, "in", PINDIR_INPUT);
    FakeFilter& enc2 = Make<FakeFilter>("enc2");
    FakePin& enc2In = Pin(enc2, "in", PINDIR_INPUT);
    FakePin& enc2AudioIn = Pin(enc2, "audioIn", PINDIR_INPUT);
    FakePin& enc2Out = Pin(enc2, "out", PINDIR_OUTPUT);
};

TEST_F(EncoderByTrial, TheVideoEncoderMayTakeTheAudioToo) {
    graph.Allow(&audio, &enc2AudioIn);
    ASSERT_EQ(S_OK, RenderBytes(&source));
    EXPECT_EQ(static_cast<IBaseFilter*>(&enc2), builder->videoEncoder.Get());
    EXPECT_EQ(L"Encoder", enc2.joinedName);
    EXPECT_EQ(static_cast<IPin*>(&enc2AudioIn), audio.peer);
    EXPECT_FALSE(graph.Contains(&enc1));
    ExpectDemuxOutputsRendered();
}

TEST_F(EncoderByTrial, AnEncoderRefusingTheAudioStaysInTheVideoChain) {
    ASSERT_EQ(S_OK, RenderBytes(&source));
    EXPECT_TRUE(graph.Contains(&enc2));
    EXPECT_EQ(-1, journal.IndexOf("graph.RemoveFilter(enc2)"));
    EXPECT_EQ(static_cast<IPin*>(&enc2In), video.peer);
    EXPECT_FALSE(audio.peer);
    ExpectDemuxOutputsRendered();
}

TEST_F(EncoderByTrial, NoFittingEncoderLeavesTheChainWithoutOne) {
    graph.allowed.clear();
    ASSERT_EQ(S_OK, RenderBytes(&source));
    EXPECT_FALSE(builder->videoEncoder);
    EXPECT_FALSE(graph.Contains(&enc1) || graph.Contains(&enc2));
    ExpectDemuxOutputsRendered();
}

// A source on hardware mediums: the video encoder comes from the filter mapper and reaches
// the demultiplexer through the second multiplexer; the audio encoder joins that one.
TEST_F(RenderStream, HardwareMediumsBuildEncoderMultiplexerAndAudioEncoder) {
    FakePin& video = KsPin(source, "v", PINDIR_OUTPUT, {VideoRgb}, {Hardware});
    FakePin& audio = KsPin(source, "a", PINDIR_OUTPUT, {AudioPcm}, {Hardware2});
    FakeFilter& encoder = Make<FakeFilter>("enc");
    FakePin& encoderIn = KsPin(encoder, "in", PINDIR_INPUT, {VideoRgb}, {Hardware});
    FakePin& encoderOut = Pin(encoder, "out", PINDIR_OUTPUT);
    FakeFilter& audioEncoder = Make<FakeFilter>("aenc");
    FakePin& audioIn = KsPin(audioEncoder, "in", PINDIR_INPUT, {VideoRgb}, {Hardware2});
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
    EXPECT_EQ(static_cast<IBaseFilter*>(&encoder), builder->videoEncoder.Get());
    EXPECT_EQ(static_cast<IBaseFilter*>(&mux2), builder->multiplexer.Get());
    EXPECT_EQ(L"Audio Encoder", audioEncoder.joinedName);
    EXPECT_EQ(L"", mux2.joinedName);
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

}  // namespace
}  // namespace mpeg
