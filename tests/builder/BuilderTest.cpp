// The MPEG-2 media types the wrapper hands to the demultiplexer.
#include <gtest/gtest.h>

#include "builder/BuilderWorld.h"

namespace {

std::string Hex(const std::vector<BYTE>& bytes) {
    std::string hex;
    char two[3];
    for (BYTE b : bytes) snprintf(two, sizeof two, "%02x", b), hex += two;
    return hex;
}

}  // namespace

// The demultiplexer's two outputs, made with their fixed types, format blocks and stream
// ids for an MPEG-2 source (which paths reach them: the fault sweep).
TEST(Builder, TheDemultiplexersOutputsHaveTheirFixedTypes) {
    BuilderWorld w;
    w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpeg), nullptr, nullptr);
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

