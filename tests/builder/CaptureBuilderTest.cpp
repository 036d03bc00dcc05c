#include <gtest/gtest.h>
#include <functional>
#include "builder/CaptureBuilder.h"
#include "doubles/ComDoubles.h"

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

TEST_F(CaptureBuilderTest, ConstructionCreatesThePlatformBuilderAndNothingElse) {
    {
        CaptureBuilder builder;
        ASSERT_EQ(1u, registry.calls.size());
        const CreateCall& call = registry.calls[0];
        EXPECT_EQ(CLSID_CaptureGraphBuilder2, call.clsid);
        EXPECT_EQ(nullptr, call.outer);
        EXPECT_EQ(23u, call.context);
        EXPECT_EQ(IID_ICaptureGraphBuilder2, call.iid);
        EXPECT_EQ(static_cast<ICaptureGraphBuilder2*>(&inner), builder.innerBuilder.Get());
        EXPECT_FALSE(builder.multiplexer);
        EXPECT_FALSE(builder.videoEncoder);
        EXPECT_FALSE(builder.mpegFilter);
        EXPECT_FALSE(builder.graph);
        EXPECT_EQ(224u, builder.videoStreamId);
        EXPECT_EQ(192u, builder.audioStreamId);
        inner.journalRefs = true;
    }
    EXPECT_EQ("inner.Release", journal.Text()) << "a fresh wrapper releases only its platform builder";
}

TEST_F(CaptureBuilderTest, ForwardedOperationsPassEveryArgumentAndReturnTheResultUnchanged) {
    FakeFilter filter("filter");
    FakeGraph graph;
    FakePin pin("pin", PINDIR_OUTPUT);
    IBaseFilter* f = &filter;
    IGraphBuilder* g = &graph;
    REFERENCE_TIME start = 1, stop = 2;
    wchar_t oldName[] = L"old.avi", newName[] = L"new.avi";
    auto* progress = reinterpret_cast<IAMCopyCaptureFileProgress*>(0x1234);
    void* found = nullptr;
    IPin* foundPin = nullptr;
    IGraphBuilder* gotGraph = nullptr;

    struct Op {
        const char* method;
        std::function<HRESULT(CaptureBuilder&)> call;
        std::function<void(const BuilderCall&)> check;
    } ops[] = {
        {"AllocCapFile", [&](CaptureBuilder& b) { return b.AllocCapFile(L"cap.avi", 0x123456789ULL); },
         [&](const BuilderCall& c) {
             EXPECT_STREQ(L"cap.avi", c.file);
             EXPECT_EQ(0x123456789ULL, c.size);
         }},
        {"ControlStream",
         [&](CaptureBuilder& b) {
             return b.ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, f, &start, &stop, 3, 4);
         },
         [&](const BuilderCall& c) {
             EXPECT_EQ(&PIN_CATEGORY_CAPTURE, c.category);
             EXPECT_EQ(&MEDIATYPE_Video, c.type);
             EXPECT_EQ(f, c.filter);
             EXPECT_EQ(&start, c.start);
             EXPECT_EQ(&stop, c.stop);
             EXPECT_EQ(3, c.startCookie);
             EXPECT_EQ(4, c.stopCookie);
         }},
        {"CopyCaptureFile", [&](CaptureBuilder& b) { return b.CopyCaptureFile(oldName, newName, 1, progress); },
         [&](const BuilderCall& c) {
             EXPECT_EQ(oldName, c.file);
             EXPECT_EQ(newName, c.file2);
             EXPECT_EQ(1, c.allowEscAbort);
             EXPECT_EQ(progress, c.progress);
         }},
        {"FindInterface",
         [&](CaptureBuilder& b) {
             return b.FindInterface(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, f, IID_IAMStreamConfig, &found);
         },
         [&](const BuilderCall& c) {
             EXPECT_EQ(&PIN_CATEGORY_PREVIEW, c.category);
             EXPECT_EQ(&MEDIATYPE_Interleaved, c.type);
             EXPECT_EQ(f, c.filter);
             EXPECT_EQ(&IID_IAMStreamConfig, c.iid);
             EXPECT_EQ(&found, c.out);
         }},
        {"FindPin",
         [&](CaptureBuilder& b) {
             return b.FindPin(f, PINDIR_OUTPUT, &PIN_CATEGORY_VBI, &MEDIATYPE_VBI, TRUE, 2, &foundPin);
         },
         [&](const BuilderCall& c) {
             EXPECT_EQ(static_cast<IUnknown*>(f), c.source);
             EXPECT_EQ(PINDIR_OUTPUT, c.direction);
             EXPECT_EQ(&PIN_CATEGORY_VBI, c.category);
             EXPECT_EQ(&MEDIATYPE_VBI, c.type);
             EXPECT_EQ(TRUE, c.unconnected);
             EXPECT_EQ(2, c.index);
             EXPECT_EQ(&foundPin, c.out);
         }},
        {"GetFiltergraph", [&](CaptureBuilder& b) { return b.GetFiltergraph(&gotGraph); },
         [&](const BuilderCall& c) { EXPECT_EQ(&gotGraph, c.out); }},
        {"SetFiltergraph", [&](CaptureBuilder& b) { return b.SetFiltergraph(g); },
         [&](const BuilderCall& c) { EXPECT_EQ(g, c.graph); }},
    };

    const HRESULT results[] = {S_OK, S_FALSE, E_FAIL, E_INVALIDARG, VFW_E_NOT_CONNECTED};
    CaptureBuilder builder;
    for (const Op& op : ops) {
        for (HRESULT result : results) {
            inner.calls.clear();
            inner.results[op.method] = result;
            EXPECT_EQ(result, op.call(builder)) << op.method;
            ASSERT_EQ(1u, inner.calls.size()) << op.method;
            EXPECT_EQ(op.method, inner.calls[0].method);
            op.check(inner.calls[0]);
        }
        inner.results.erase(op.method);
    }
    EXPECT_FALSE(builder.graph) << "forwarding keeps no result";
}

TEST_F(CaptureBuilderTest, ReleaseFiltersLetsGoOfTheInsertedFiltersOnly) {
    FakeFilter mux("mux", &journal), encoder("encoder", &journal), demux("demux", &journal);
    FakeGraph graph("graph", &journal);
    {
        CaptureBuilder builder;
        builder.multiplexer = &mux;
        builder.videoEncoder = &encoder;
        builder.mpegFilter = &demux;
        builder.graph = &graph;
        for (ComDouble* d : std::initializer_list<ComDouble*>{&mux, &encoder, &demux, &graph, &inner})
            d->journalRefs = true;

        builder.ReleaseFilters();
        EXPECT_EQ("mux.Release encoder.Release demux.Release", journal.Text());
        EXPECT_FALSE(builder.multiplexer);
        EXPECT_FALSE(builder.videoEncoder);
        EXPECT_FALSE(builder.mpegFilter);
        EXPECT_TRUE(builder.innerBuilder);
        EXPECT_TRUE(builder.graph);

        journal.Clear();
        builder.ReleaseFilters();
        EXPECT_EQ("", journal.Text());

        // Set again, as the MPEG-2 paths may after a teardown.
        builder.multiplexer = &mux;
        builder.videoEncoder = &encoder;
        builder.mpegFilter = &demux;
        journal.Clear();
    }
    EXPECT_EQ("graph.Release inner.Release demux.Release encoder.Release mux.Release", journal.Text())
        << "the destructor releases in reverse declaration order";
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
    IFileSinkFilter* sink = reinterpret_cast<IFileSinkFilter*>(&found);
    wchar_t name[] = L"a.avi";
    EXPECT_EQ(E_FAIL, builder.AllocCapFile(L"a.avi", 1));
    EXPECT_EQ(E_FAIL, builder.ControlStream(nullptr, nullptr, &filter, nullptr, nullptr, 0, 0));
    EXPECT_EQ(E_FAIL, builder.CopyCaptureFile(name, name, 0, nullptr));
    EXPECT_EQ(E_FAIL, builder.FindInterface(nullptr, nullptr, &filter, IID_IAMStreamConfig, &found));
    EXPECT_EQ(E_FAIL, builder.FindPin(static_cast<IBaseFilter*>(&filter), PINDIR_OUTPUT, nullptr, nullptr, FALSE, 0, &pin));
    EXPECT_EQ(E_FAIL, builder.GetFiltergraph(&got));
    EXPECT_EQ(E_FAIL, builder.SetFiltergraph(&graph));
    EXPECT_EQ(nullptr, found);
    EXPECT_EQ(nullptr, pin);
    EXPECT_EQ(nullptr, got);
    EXPECT_TRUE(FAILED(builder.RenderStream(nullptr, nullptr, static_cast<IBaseFilter*>(&filter), nullptr, nullptr)));
    EXPECT_TRUE(FAILED(builder.SetOutputFileName(&MEDIASUBTYPE_Avi, L"a.avi", &sinkFilter, &sink)));
    EXPECT_TRUE(journal.entries.empty());
}

}  // namespace
