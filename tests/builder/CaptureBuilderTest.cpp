// The wrapper's core: the platform builder it creates, the seven forwarded operations and
// the release of the filters it inserted.
#include "builder/CaptureBuilder.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>
#include <functional>

using namespace doubles;

namespace {

class CaptureBuilderTest : public ::testing::Test {
protected:
    CaptureBuilderTest() { registry.Register(CLSID_CaptureGraphBuilder2, static_cast<ICaptureGraphBuilder2*>(&inner)); }
    void TearDown() override { EXPECT_DOUBLES_BALANCED(); }

    Journal journal;
    FakeCaptureGraphBuilder inner{"inner", &journal};
    FakeClassRegistry registry;
};

TEST_F(CaptureBuilderTest, AFreshWrapperHoldsOnlyThePlatformBuilderAndReleasesIt) {
    {
        CaptureBuilder builder;
        ASSERT_EQ(1u, registry.calls.size());
        const CreateCall& call = registry.calls[0];
        EXPECT_TRUE(call.clsid == CLSID_CaptureGraphBuilder2 && !call.outer && call.iid == IID_ICaptureGraphBuilder2);
        EXPECT_EQ(static_cast<ICaptureGraphBuilder2*>(&inner), builder.innerBuilder.Get());
        EXPECT_FALSE(builder.multiplexer || builder.videoEncoder || builder.mpegFilter || builder.graph);
        inner.journalRefs = true;
    }
    EXPECT_EQ("inner.Release", journal.Text());
}

TEST_F(CaptureBuilderTest, ForwardedOperationsPassEveryArgumentAndReturnTheResultUnchanged) {
    FakeFilter filter("filter");
    FakeGraph graph;
    IBaseFilter* f = &filter;
    REFERENCE_TIME start = 1, stop = 2;
    wchar_t oldName[] = L"old.avi", newName[] = L"new.avi";
    auto* progress = reinterpret_cast<IAMCopyCaptureFileProgress*>(0x1234);
    void* found = nullptr;
    IPin* foundPin = nullptr;
    IGraphBuilder* gotGraph = nullptr;
    struct Op {
        const char* method;
        std::function<HRESULT(CaptureBuilder&)> call;
        std::function<bool(const BuilderCall&)> passed;
    } ops[] = {
        {"AllocCapFile", [&](CaptureBuilder& b) { return b.AllocCapFile(L"cap.avi", 0x123456789ULL); },
         [&](const BuilderCall& c) { return std::wstring(c.file) == L"cap.avi" && c.size == 0x123456789ULL; }},
        {"ControlStream",
         [&](CaptureBuilder& b) { return b.ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, f, &start, &stop, 3, 4); },
         [&](const BuilderCall& c) {
             return c.category == &PIN_CATEGORY_CAPTURE && c.type == &MEDIATYPE_Video && c.filter == f &&
                    c.start == &start && c.stop == &stop && c.startCookie == 3 && c.stopCookie == 4;
         }},
        {"CopyCaptureFile", [&](CaptureBuilder& b) { return b.CopyCaptureFile(oldName, newName, 1, progress); },
         [&](const BuilderCall& c) {
             return c.file == oldName && c.file2 == newName && c.allowEscAbort == 1 && c.progress == progress;
         }},
        {"FindInterface",
         [&](CaptureBuilder& b) {
             return b.FindInterface(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, f, IID_IAMStreamConfig, &found);
         },
         [&](const BuilderCall& c) {
             return c.category == &PIN_CATEGORY_PREVIEW && c.type == &MEDIATYPE_Interleaved && c.filter == f &&
                    c.iid == &IID_IAMStreamConfig && c.out == &found;
         }},
        {"FindPin",
         [&](CaptureBuilder& b) { return b.FindPin(f, PINDIR_OUTPUT, &PIN_CATEGORY_VBI, &MEDIATYPE_VBI, TRUE, 2, &foundPin); },
         [&](const BuilderCall& c) {
             return c.source == static_cast<IUnknown*>(f) && c.direction == PINDIR_OUTPUT && c.category == &PIN_CATEGORY_VBI &&
                    c.type == &MEDIATYPE_VBI && c.unconnected && c.index == 2 && c.out == &foundPin;
         }},
        {"GetFiltergraph", [&](CaptureBuilder& b) { return b.GetFiltergraph(&gotGraph); },
         [&](const BuilderCall& c) { return c.out == &gotGraph; }},
        {"SetFiltergraph", [&](CaptureBuilder& b) { return b.SetFiltergraph(&graph); },
         [&](const BuilderCall& c) { return c.graph == static_cast<IGraphBuilder*>(&graph); }},
    };
    CaptureBuilder builder;
    for (const Op& op : ops)
        for (HRESULT result : {S_OK, S_FALSE, E_FAIL, VFW_E_NOT_CONNECTED}) {
            inner.calls.clear();
            inner.results[op.method] = result;
            EXPECT_EQ(result, op.call(builder)) << op.method;
            ASSERT_EQ(1u, inner.calls.size()) << op.method;
            EXPECT_EQ(op.method, inner.calls[0].method);
            EXPECT_TRUE(op.passed(inner.calls[0])) << op.method;
        }
    EXPECT_FALSE(builder.graph) << "forwarding keeps no result";
}

TEST_F(CaptureBuilderTest, ReleaseFiltersLetsGoOfTheInsertedFiltersOnlyAndOnce) {
    FakeFilter mux("mux", &journal), encoder("encoder", &journal), demux("demux", &journal);
    FakeGraph graph("graph", &journal);
    CaptureBuilder builder;
    builder.multiplexer = &mux;
    builder.videoEncoder = &encoder;
    builder.mpegFilter = &demux;
    builder.graph = &graph;
    for (ComDouble* d : std::initializer_list<ComDouble*>{&mux, &encoder, &demux, &graph, &inner}) d->journalRefs = true;
    builder.ReleaseFilters();
    EXPECT_EQ("mux.Release encoder.Release demux.Release", journal.Text());
    EXPECT_TRUE(builder.innerBuilder && builder.graph);
    journal.Clear();
    builder.ReleaseFilters();
    EXPECT_EQ("", journal.Text());
    builder.graph.Clear();
}

TEST_F(CaptureBuilderTest, WithoutAPlatformBuilderEveryOperationFails) {
    registry.Fail(CLSID_CaptureGraphBuilder2, REGDB_E_CLASSNOTREG);
    FakeFilter filter("filter");
    FakeGraph graph;
    CaptureBuilder builder;
    ASSERT_FALSE(builder.innerBuilder);
    void* found = &found;
    IPin* pin = reinterpret_cast<IPin*>(&found);
    IGraphBuilder* got = &graph;
    IBaseFilter* sinkFilter = &filter;
    IFileSinkFilter* sink = nullptr;
    wchar_t name[] = L"a.avi";
    IBaseFilter* f = &filter;
    EXPECT_EQ(E_FAIL, builder.AllocCapFile(L"a.avi", 1));
    EXPECT_EQ(E_FAIL, builder.ControlStream(nullptr, nullptr, f, nullptr, nullptr, 0, 0));
    EXPECT_EQ(E_FAIL, builder.CopyCaptureFile(name, name, 0, nullptr));
    EXPECT_EQ(E_FAIL, builder.FindInterface(nullptr, nullptr, f, IID_IAMStreamConfig, &found));
    EXPECT_EQ(E_FAIL, builder.FindPin(f, PINDIR_OUTPUT, nullptr, nullptr, FALSE, 0, &pin));
    EXPECT_EQ(E_FAIL, builder.GetFiltergraph(&got));
    EXPECT_EQ(E_FAIL, builder.SetFiltergraph(&graph));
    EXPECT_TRUE(!found && !pin && !got);
    EXPECT_EQ(E_FAIL, builder.RenderStream(nullptr, &MEDIATYPE_Video, f, nullptr, nullptr));
    EXPECT_EQ(E_FAIL, builder.RenderStream(nullptr, &MEDIATYPE_Stream, f, nullptr, nullptr));
    EXPECT_EQ(E_FAIL, builder.SetOutputFileName(&MEDIASUBTYPE_Avi, L"a.avi", &sinkFilter, &sink));
}

}  // namespace
