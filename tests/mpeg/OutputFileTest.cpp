// The output file through the dump filter, the demultiplexer's pins and the enumerators
// of candidate filters.
#include "mpeg/MpegTest.h"

namespace mpeg {
namespace {

// Written out here from its published text, not taken from the code under test.
const CLSID DumpClass = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
const GUID DumpType = {0x7DC2C665, 0x4033, 0x4CAF, {0x92, 0x73, 0xF7, 0xD7, 0x97, 0xFB, 0x24, 0x5C}};

class OutputFile : public MpegTest {
protected:
    OutputFile() { registry.Register(DumpClass, static_cast<IBaseFilter*>(&dump)); }
    FakeDump& dump = Make<FakeDump>("dump");
    ComHolder<IBaseFilter> filter;
    ComHolder<IFileSinkFilter> sink;
};

TEST_F(OutputFile, NullArgumentsAreRefusedBeforeAnythingIsCalled) {
    IBaseFilter* f = nullptr;
    IFileSinkFilter* s = nullptr;
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(nullptr, L"x", &f, &s));
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(&DumpType, nullptr, &f, &s));
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(&DumpType, L"x", nullptr, &s));
    EXPECT_EQ(E_INVALIDARG, builder->SetOutputFileName(&DumpType, L"x", &f, nullptr));
    EXPECT_TRUE(inner.calls.empty());
    EXPECT_EQ(1u, registry.calls.size());  // only the wrapper's own construction
}

TEST_F(OutputFile, OtherTypesGoToThePlatformBuilderUnchanged) {
    inner.results["SetOutputFileName"] = E_ACCESSDENIED;
    IBaseFilter* f = nullptr;
    IFileSinkFilter* s = nullptr;
    const wchar_t* file = L"capture.mpg";
    EXPECT_EQ(E_ACCESSDENIED, builder->SetOutputFileName(&MEDIASUBTYPE_MPEG2_PROGRAM, file, &f, &s));
    ASSERT_EQ(1u, inner.calls.size());
    const BuilderCall& call = inner.calls[0];
    EXPECT_TRUE(call.type == &MEDIASUBTYPE_MPEG2_PROGRAM && call.file == file && call.out == &f &&
                call.out2 == &s);
    EXPECT_FALSE(builder->graph || builder->mpegFilter);
}

TEST_F(OutputFile, DumpPathFetchesTheGraphOnceAndReplacesMpegFilter) {
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
    EXPECT_EQ(CLSCTX_ALL, registry.calls.back().context);
    filter.Clear();
    sink.Clear();
}

TEST_F(OutputFile, ADumpFilterTheGraphRefusesIsLetGo) {
    graph.addFilterResults = {VFW_E_DUPLICATE_NAME};
    EXPECT_EQ(VFW_E_DUPLICATE_NAME,
              builder->SetOutputFileName(&DumpType, L"out.dump", filter.Receive(), sink.Receive()));
    EXPECT_FALSE(builder->mpegFilter || filter || sink);
}

using Demultiplexer = MpegTest;

TEST_F(Demultiplexer, GetsExactlyTwoMappedElementaryStreamPins) {
    ASSERT_EQ(S_OK, builder->ConfigureDemultiplexer(static_cast<IBaseFilter*>(&demux)));
    ASSERT_EQ(2u, demux.made.size());
    struct Expected {
        const char* name;
        GUID major, sub, format;
        ULONG length;
        LONG streamId;
    } expected[] = {
        {"MpegVideo", MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, 218, 224},
        {"MpegAudio", MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, FORMAT_WaveFormatEx, 40, 192},
    };
    for (int i = 0; i < 2; ++i) {
        const MappedPin& pin = *demux.made[i];
        const AM_MEDIA_TYPE& type = pin.type;
        EXPECT_EQ(expected[i].name, pin.pinName);
        EXPECT_TRUE(type.majortype == expected[i].major && type.subtype == expected[i].sub &&
                    type.formattype == expected[i].format) << i;
        EXPECT_TRUE(type.bFixedSizeSamples && !type.bTemporalCompression && !type.pUnk) << i;
        EXPECT_EQ(0u, type.lSampleSize) << i;
        EXPECT_EQ(expected[i].length, type.cbFormat) << i;
        EXPECT_EQ((std::vector<std::vector<LONG>>{{expected[i].streamId, 1, 0, 0}}), pin.maps) << i;
    }
}

TEST_F(Demultiplexer, FailuresComeBackWithoutFurtherPins) {
    FakeFilter& plain = Make<FakeFilter>("plain");
    EXPECT_EQ(E_NOINTERFACE, builder->ConfigureDemultiplexer(&plain));
    demux.createResult = E_OUTOFMEMORY;
    EXPECT_EQ(E_OUTOFMEMORY, builder->ConfigureDemultiplexer(static_cast<IBaseFilter*>(&demux)));
    EXPECT_EQ("demux.CreateOutputPin(MpegVideo)", journal.Text());
}

using Enumerators = MpegTest;

TEST_F(Enumerators, MatchingFiltersAreAskedForAnInputOnTheMediumAndAnyOutput) {
    ComHolder<IEnumMoniker> found;
    EXPECT_EQ(S_OK, builder->CreateMatchingFilterEnumerator(&Hardware, &found));
    EXPECT_TRUE(found);
    std::vector<ULONG_PTR> expected = {0, FALSE, 0, TRUE, 0, 0, ULONG_PTR(&Hardware), 0, FALSE, TRUE, 0, 0, 0, 0};
    EXPECT_EQ(expected, mapper.args);
    EXPECT_EQ(CLSCTX_ALL, registry.calls.back().context);
    found.Clear();
}

}  // namespace
}  // namespace mpeg
