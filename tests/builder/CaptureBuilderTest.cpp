// The wrapper's core: the platform builder it creates, the seven forwarded operations and
// the release of the filters it inserted.
#include "builder/CaptureBuilder.h"
#include "doubles/ComDoubles.h"
#include <gmock/gmock.h>

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

// The platform builder with every operation mocked, so arguments are matched exactly.
struct MockBuilder : Double<ICaptureGraphBuilder2> {
    using Double::Double;
#define CALL (override, Calltype(STDMETHODCALLTYPE))
    MOCK_METHOD(HRESULT, SetFiltergraph, (IGraphBuilder*), CALL);
    MOCK_METHOD(HRESULT, GetFiltergraph, (IGraphBuilder**), CALL);
    MOCK_METHOD(HRESULT, SetOutputFileName, (const GUID*, LPCOLESTR, IBaseFilter**, IFileSinkFilter**), CALL);
    MOCK_METHOD(HRESULT, FindInterface, (const GUID*, const GUID*, IBaseFilter*, REFIID, void**), CALL);
    MOCK_METHOD(HRESULT, RenderStream, (const GUID*, const GUID*, IUnknown*, IBaseFilter*, IBaseFilter*), CALL);
    MOCK_METHOD(HRESULT, ControlStream, (const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*, REFERENCE_TIME*, WORD, WORD), CALL);
    MOCK_METHOD(HRESULT, AllocCapFile, (LPCOLESTR, DWORDLONG), CALL);
    MOCK_METHOD(HRESULT, CopyCaptureFile, (LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*), CALL);
    MOCK_METHOD(HRESULT, FindPin, (IUnknown*, PIN_DIRECTION, const GUID*, const GUID*, WINBOOL, int, IPin**), CALL);
#undef CALL
};

TEST_F(CaptureBuilderTest, ForwardedOperationsPassEveryArgumentAndReturnTheResultUnchanged) {
    using ::testing::Return;
    MockBuilder mock("mock");
    registry.Register(CLSID_CaptureGraphBuilder2, static_cast<ICaptureGraphBuilder2*>(&mock));
    FakeFilter filter("filter");
    FakeGraph graph;
    IBaseFilter* f = &filter;
    REFERENCE_TIME start = 1, stop = 2;
    wchar_t oldName[] = L"old.avi", newName[] = L"new.avi";
    const wchar_t* file = L"cap.avi";
    auto* progress = reinterpret_cast<IAMCopyCaptureFileProgress*>(0x1234);
    void* found = nullptr;
    IPin* pin = nullptr;
    IGraphBuilder* got = nullptr;
    CaptureBuilder builder;
    for (HRESULT hr : {S_OK, S_FALSE, E_FAIL, VFW_E_NOT_CONNECTED}) {
        EXPECT_CALL(mock, AllocCapFile(file, 0x123456789ULL)).WillOnce(Return(hr));
        EXPECT_CALL(mock, ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, f, &start, &stop, 3, 4)).WillOnce(Return(hr));
        EXPECT_CALL(mock, CopyCaptureFile(oldName, newName, 1, progress)).WillOnce(Return(hr));
        EXPECT_CALL(mock, FindInterface(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, f, ::testing::Ref(IID_IAMStreamConfig), &found))
            .WillOnce(Return(hr));
        EXPECT_CALL(mock, FindPin(f, PINDIR_OUTPUT, &PIN_CATEGORY_VBI, &MEDIATYPE_VBI, TRUE, 2, &pin)).WillOnce(Return(hr));
        EXPECT_CALL(mock, GetFiltergraph(&got)).WillOnce(Return(hr));
        EXPECT_CALL(mock, SetFiltergraph(static_cast<IGraphBuilder*>(&graph))).WillOnce(Return(hr));
        EXPECT_EQ(hr, builder.AllocCapFile(file, 0x123456789ULL));
        EXPECT_EQ(hr, builder.ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, f, &start, &stop, 3, 4));
        EXPECT_EQ(hr, builder.CopyCaptureFile(oldName, newName, 1, progress));
        EXPECT_EQ(hr, builder.FindInterface(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, f, IID_IAMStreamConfig, &found));
        EXPECT_EQ(hr, builder.FindPin(f, PINDIR_OUTPUT, &PIN_CATEGORY_VBI, &MEDIATYPE_VBI, TRUE, 2, &pin));
        EXPECT_EQ(hr, builder.GetFiltergraph(&got));
        EXPECT_EQ(hr, builder.SetFiltergraph(&graph));
        ::testing::Mock::VerifyAndClearExpectations(&mock);
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
