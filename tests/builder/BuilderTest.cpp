// The wrapper's MPEG-2 rendering and output file, on Wine's graph and builder.
#include <gtest/gtest.h>

#include "builder/BuilderWorld.h"

using doubles::NameOf;

namespace {

std::string Hex(const std::vector<BYTE>& bytes) {
    std::string hex;
    char two[3];
    for (BYTE b : bytes) snprintf(two, sizeof two, "%02x", b), hex += two;
    return hex;
}

// Each connection in the world, e.g. "mpeg.out>demux.in".
std::string Connections(BuilderWorld& w) {
    std::string text;
    for (doubles::FakePin* pin : {&w.mpegOut, &w.video, &w.audio, &w.encoderOut})
        if (pin->peer) text += (text.empty() ? "" : " ") + pin->name + ">" + NameOf(pin->peer);
    return text;
}

}  // namespace

// An MPEG-2 source goes straight into the demultiplexer, whose two outputs are made with
// their fixed types and stream ids; then the platform renders them, which nothing on Wine
// can do for MPEG-2.
TEST(Builder, AProgramStreamFeedsTheDemultiplexerWithItsTwoStreams) {
    BuilderWorld w;
    EXPECT_EQ(w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpeg), nullptr, nullptr),
              VFW_E_CANNOT_CONNECT);
    EXPECT_EQ(Connections(w), "mpeg.out>demux.in");
    EXPECT_EQ(w.demux.streamIds, (std::vector<std::pair<ULONG, DWORD>>{{224, MPEG2_PROGRAM_ELEMENTARY_STREAM},
                                                                       {192, MPEG2_PROGRAM_ELEMENTARY_STREAM}}));
    struct {
        const wchar_t* name;
        GUID major, sub, format;
        const char* block;
    } expected[] = {
        {L"MpegVideo", MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video,
         "0000000000000000d0020000e00100000000000000000000000000000000000000093d00000000006317050000000000"
         "00000000000000000400000003000000000000000000000028000000d0020000e0010000000000000000000000000000"
         "d007000027cf0000000000000000000098f4060056000000020000000200000000000000000001b32d01e02409c42381"
         "10111112121213131313141414141415151515151516161616161616171717171717171718181819181818191a1a1a1a"
         "191b1b1b1b1b1c1c1c1c1e1e1e1f1f21000001b5148200010000"},
        {L"MpegAudio", MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, FORMAT_WaveFormatEx,
         "5000020080bb0000007d0000000300001600020000e803000100010001001c000000000000000000"},
    };
    ASSERT_EQ(w.demux.outputs.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const auto& o = w.demux.outputs[i];
        const AM_MEDIA_TYPE& t = o.type;
        EXPECT_TRUE(o.name == expected[i].name && t.majortype == expected[i].major && t.subtype == expected[i].sub &&
                    t.formattype == expected[i].format && t.bFixedSizeSamples && !t.bTemporalCompression &&
                    t.lSampleSize == 0 && !t.pUnk && t.cbFormat == o.format.size()) << i;
        EXPECT_EQ(Hex(o.format), expected[i].block) << i;
    }
}

// With a renderer the caller renders the demultiplexer itself: it is connected, not set up.
TEST(Builder, WithARendererTheDemultiplexerIsOnlyConnected) {
    BuilderWorld w;
    EXPECT_EQ(w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpeg), nullptr, &w.encoder),
              S_OK);
    EXPECT_TRUE(Connections(w) == "mpeg.out>demux.in" && w.demux.outputs.empty());
}

// A camera's video goes through the registered encoder, which takes its sound too.
TEST(Builder, ACameraGoesThroughItsEncoderToTheDemultiplexer) {
    BuilderWorld w;
    w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.camera), nullptr, nullptr);
    EXPECT_EQ(Connections(w), "cam.video>enc.video cam.audio>enc.audio enc.out>demux.in");
    EXPECT_EQ(w.builder->videoEncoder.Get(), static_cast<IBaseFilter*>(&w.encoder));
}

// The dump output type writes through the dump filter, added to the graph and handed out
// with a reference of its own to each out-pointer.
TEST(Builder, TheDumpOutputTypeWritesThroughTheDumpFilter) {
    BuilderWorld w;
    ComHolder<IBaseFilter> filter;
    ComHolder<IFileSinkFilter> sink;
    EXPECT_EQ(w.builder->SetOutputFileName(&DumpOutputSubtype, L"C:\\capture.mpg", filter.Receive(), sink.Receive()), S_OK);
    EXPECT_TRUE(filter == static_cast<IBaseFilter*>(&w.dump.filter) && sink == static_cast<IFileSinkFilter*>(&w.dump));
    EXPECT_TRUE(w.dump.fileName == L"C:\\capture.mpg" && w.dump.filter.graph);
}
