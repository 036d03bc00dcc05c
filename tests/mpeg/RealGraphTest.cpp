// Against Wine's own filter graph manager and capture graph builder.
#include "builder/CaptureBuilder.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>

namespace mpeg {
namespace {

using namespace doubles;

class RealGraph : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(graph.Receive())));
        builder.reset(new CaptureBuilder);
        ASSERT_TRUE(builder->innerBuilder);
        for (FakeFilter* f : {&up, &down}) ASSERT_EQ(S_OK, graph->AddFilter(f, Wide(f->name).c_str()));
        up.AddPin(upOut);
        down.AddPin(downIn);
    }
    void TearDown() override {
        builder.reset();
        graph.Clear();
        EXPECT_DOUBLES_BALANCED();
        CoUninitialize();
    }
    bool InGraph(FakeFilter& filter) {
        ComHolder<IBaseFilter> found;
        return graph->FindFilterByName(Wide(filter.name).c_str(), found.Receive()) == S_OK;
    }

    FakeFilter up{"up"};
    FakeFilter down{"down"};
    FakePin upOut{"up.out", PINDIR_OUTPUT};
    FakePin downIn{"down.in", PINDIR_INPUT};
    ComHolder<IGraphBuilder> graph;
    std::unique_ptr<CaptureBuilder> builder;
};

TEST_F(RealGraph, ConnectsFiltersAndDropsAFilterThatTakesNoPin) {
    builder->graph = graph;
    EXPECT_EQ(S_OK, builder->ConnectFilters(&up, &down));
    EXPECT_EQ(static_cast<IPin*>(&downIn), upOut.peer);
    graph->Disconnect(&upOut);
    graph->Disconnect(&downIn);

    downIn.accepts = false;
    EXPECT_EQ(E_FAIL, builder->ConnectPinToFilter(&upOut, &down));
    EXPECT_FALSE(InGraph(down));
    EXPECT_TRUE(InGraph(up));
}

TEST_F(RealGraph, OtherTypesReachWinesCaptureGraphBuilder) {
    ComHolder<ICaptureGraphBuilder2> direct;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(direct.Receive())));
    ASSERT_EQ(S_OK, direct->SetFiltergraph(graph));
    ASSERT_EQ(S_OK, builder->SetFiltergraph(graph));
    HRESULT expected = direct->RenderStream(nullptr, &MEDIATYPE_Audio, static_cast<IBaseFilter*>(&up), nullptr,
                                            nullptr);
    EXPECT_EQ(expected, builder->RenderStream(nullptr, &MEDIATYPE_Audio, static_cast<IBaseFilter*>(&up),
                                              nullptr, nullptr));
    EXPECT_NE(S_OK, expected);  // the source offers no audio pin
    EXPECT_FALSE(builder->graph);
}

}  // namespace
}  // namespace mpeg
