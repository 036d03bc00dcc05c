// Against Wine's own filter graph manager and capture graph builder.
#include "builder/CaptureBuilder.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>

namespace mpeg {
namespace {

using namespace doubles;

TEST(RealGraph, ConnectsFiltersDropsAFilterThatTakesNoPinAndForwardsOtherTypesToWinesBuilder) {
    ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
    {
        FakeFilter up{"up"}, down{"down"};
        FakePin upOut{"up.out", PINDIR_OUTPUT}, downIn{"down.in", PINDIR_INPUT};
        up.AddPin(upOut);
        down.AddPin(downIn);
        ComHolder<IGraphBuilder> graph;
        ComHolder<ICaptureGraphBuilder2> direct;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(graph.Receive())));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(direct.Receive())));
        for (FakeFilter* f : {&up, &down}) ASSERT_EQ(S_OK, graph->AddFilter(f, Wide(f->name).c_str()));
        CaptureBuilder builder;
        ASSERT_EQ(S_OK, builder.SetFiltergraph(graph));
        ASSERT_EQ(S_OK, direct->SetFiltergraph(graph));
        HRESULT expected = direct->RenderStream(nullptr, &MEDIATYPE_Audio, static_cast<IBaseFilter*>(&up), nullptr, nullptr);
        EXPECT_NE(S_OK, expected);  // the source offers no audio pin
        EXPECT_EQ(expected, builder.RenderStream(nullptr, &MEDIATYPE_Audio, static_cast<IBaseFilter*>(&up), nullptr, nullptr));
        EXPECT_FALSE(builder.graph);

        builder.graph = graph;
        EXPECT_EQ(S_OK, builder.ConnectFilters(&up, &down));
        EXPECT_EQ(static_cast<IPin*>(&downIn), upOut.peer);
        graph->Disconnect(&upOut);
        graph->Disconnect(&downIn);
        downIn.accepts = false;
        EXPECT_EQ(E_FAIL, builder.ConnectPinToFilter(&upOut, &down));
        ComHolder<IBaseFilter> found;
        EXPECT_EQ(VFW_E_NOT_FOUND, graph->FindFilterByName(L"down", found.Receive()));
        EXPECT_EQ(S_OK, graph->FindFilterByName(L"up", found.Receive()));
        found.Clear();
        builder.graph.Clear();
        builder.innerBuilder.Clear();
        direct.Clear();
        graph.Clear();
        EXPECT_DOUBLES_BALANCED();
    }
    CoUninitialize();
}

}  // namespace
}  // namespace mpeg
