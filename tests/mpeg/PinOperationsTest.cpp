// Pin predicates, pin and filter searches by medium, and direct connections.
#include "mpeg/MpegTest.h"

namespace mpeg {
namespace {

using PinOperations = MpegTest;

TEST_F(PinOperations, PredicatesLookAtEachMediaTypeAlone) {
    struct Row {
        std::vector<MediaType> types;
        BOOL video, audio, mpeg2;
    } rows[] = {
        {{}, FALSE, FALSE, FALSE},
        {{VideoRgb}, TRUE, FALSE, FALSE},
        {{ProgramStream}, FALSE, FALSE, TRUE},
        {{MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_VIDEO)}, FALSE, TRUE, FALSE},
        // major and subtype must match in the same media type
        {{MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_RGB24), MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_PROGRAM)},
         FALSE, TRUE, FALSE},
    };
    FakeFilter& filter = Make<FakeFilter>("f");
    for (size_t i = 0; i < std::size(rows); ++i) {
        FakePin& pin = Pin(filter, std::to_string(i), PINDIR_OUTPUT, rows[i].types);
        EXPECT_EQ(rows[i].video, builder->IsVideoPin(&pin)) << i;
        EXPECT_EQ(rows[i].audio, builder->IsAudioPin(&pin)) << i;
        EXPECT_EQ(rows[i].mpeg2, builder->IsMpeg2Pin(&pin)) << i;
    }
}

TEST_F(PinOperations, Mpeg2SearchTakesOutputPinsOnlyVideoSearchTakesEither) {
    FakeFilter& filter = Make<FakeFilter>("f");
    FakePin& in = Pin(filter, "in", PINDIR_INPUT, {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO)});
    FakePin& out = Pin(filter, "out", PINDIR_OUTPUT, {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO)});
    ComHolder<IPin> mpeg2, video;
    EXPECT_EQ(S_OK, builder->FindMpeg2OutputPin(&filter, &mpeg2));
    EXPECT_EQ(S_OK, builder->FindVideoPin(&filter, &video));
    EXPECT_TRUE(mpeg2.Get() == &out && video.Get() == &in);
}

TEST_F(PinOperations, PinMediumIsTheFirstHardwareEntryOrTheNullMedium) {
    const REGPINMEDIUM hardware5 = {Hardware.clsMedium, 7, 5};
    struct Row {
        std::vector<REGPINMEDIUM> mediums;
        HRESULT result;
        REGPINMEDIUM expected;
    } rows[] = {
        {{}, S_OK, NoMedium},
        {{Standard, Standard}, S_OK, NoMedium},
        {{Standard, hardware5, {MEDIATYPE_Video, 3, 9}}, S_OK, hardware5},
    };
    FakeFilter& filter = Make<FakeFilter>("f");
    for (size_t i = 0; i < std::size(rows); ++i) {
        FakePin& pin = Pin(filter, std::to_string(i), PINDIR_OUTPUT, {}, rows[i].mediums, true);
        REGPINMEDIUM medium = Hardware;
        EXPECT_EQ(rows[i].result, builder->GetPinMedium(&pin, &medium)) << i;
        EXPECT_EQ(0, memcmp(&rows[i].expected, &medium, sizeof medium)) << i;
    }
}

TEST_F(PinOperations, PinByMediumWantsDirectionVideoSetAndIdButNotFlags) {
    FakeFilter& filter = Make<FakeFilter>("f");
    Pin(filter, "videoOut", PINDIR_OUTPUT, {VideoRgb}, {Hardware});
    Pin(filter, "audioIn", PINDIR_INPUT, {AudioPcm}, {Hardware});
    Pin(filter, "otherId", PINDIR_INPUT, {VideoRgb}, {{Hardware.clsMedium, 8, 0}});
    FakePin& match = Pin(filter, "videoIn", PINDIR_INPUT, {VideoRgb}, {{Hardware.clsMedium, 7, 0x55}});
    ComHolder<IPin> found;
    EXPECT_EQ(S_OK, builder->FindPinByMedium(&filter, &Hardware, PINDIR_INPUT, &found));
    EXPECT_EQ(static_cast<IPin*>(&match), found.Get());
    found.Clear();
}

TEST_F(PinOperations, FilterByMediumRefusesTheNullMediumAndSkipsUnboundAndUnfitFilters) {
    FakeFilter& unfit = Make<FakeFilter>("unfit");
    Pin(unfit, "in", PINDIR_INPUT, {VideoRgb}, {Standard});
    FakeFilter& fit = Make<FakeFilter>("fit");
    Pin(fit, "in", PINDIR_INPUT, {VideoRgb}, {Hardware});
    FakeMoniker& unbound = MonikerFor(&fit);
    unbound.bindToObjectResult = E_FAIL;
    auto* monikers = new FakeEnumMoniker("monikers", &journal, nullptr, {&MonikerFor(&unfit), &unbound, &MonikerFor(&fit)});
    ComHolder<IEnumMoniker> enumerator;
    *enumerator.Receive() = monikers;  // adopts the enumerator's first reference

    ComHolder<IBaseFilter> found;
    EXPECT_EQ(E_INVALIDARG, builder->FindFilterByMedium(enumerator, NoMedium, &found));
    EXPECT_EQ(0u, monikers->position);  // refused without enumerating
    EXPECT_EQ(S_OK, builder->FindFilterByMedium(enumerator, Hardware, &found));
    EXPECT_EQ(static_cast<IBaseFilter*>(&fit), found.Get());
    EXPECT_FALSE(fit.joinedGraph);  // looked at, not added
    found.Clear();
}

class Connections : public MpegTest {
protected:
    Connections() {
        builder->graph = &graph;
        for (FakeFilter* f : {&up, &down}) graph.AddFilter(f, nullptr);
        journal.Clear();
    }
    FakeFilter& up = Make<FakeFilter>("up");
    FakeFilter& down = Make<FakeFilter>("down");
    FakePin& a = Pin(up, "a", PINDIR_OUTPUT);
    FakePin& b = Pin(up, "b", PINDIR_OUTPUT);
    FakePin& upIn = Pin(up, "in", PINDIR_INPUT);
    FakePin& c = Pin(down, "c", PINDIR_INPUT);
    FakePin& d = Pin(down, "d", PINDIR_INPUT);
};

TEST_F(Connections, EachOutputTakesTheFirstFreeInputAndNoPairFailsLeavingBothFilters) {
    EXPECT_EQ(E_FAIL, builder->ConnectFilters(&up, &down));
    EXPECT_TRUE(graph.Contains(&up) && graph.Contains(&down));
    for (IPin* out : {&a, &b})
        for (IPin* in : {&c, &d}) graph.Allow(out, in);
    journal.Clear();
    EXPECT_EQ(S_OK, builder->ConnectFilters(&up, &down));
    EXPECT_EQ("graph.ConnectDirect(up.a,down.c) graph.ConnectDirect(up.b,down.c) "
              "graph.ConnectDirect(up.b,down.d)", journal.Text());
    EXPECT_EQ(static_cast<IPin*>(&d), b.peer);
}

TEST_F(Connections, PinToFilterRemovesTheFilterOnlyWhenNoInputAccepts) {
    EXPECT_EQ(E_FAIL, builder->ConnectPinToFilter(&upIn, &down));  // an input pin
    EXPECT_TRUE(graph.Contains(&down));
    graph.Allow(&b, &d);
    EXPECT_EQ(S_OK, builder->ConnectPinToFilter(&b, &down));
    EXPECT_EQ(E_FAIL, builder->ConnectPinToFilter(&a, &down));
    EXPECT_FALSE(graph.Contains(&down));
}

}  // namespace
}  // namespace mpeg
