// The wrapper around Wine's own capture graph builder and filter graph manager.
#include "builder/CaptureBuilder.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>

using namespace doubles;

namespace {

TEST(RealBuilder, FindsInterfacesAndPinsOfAFilterInTheRealGraph) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    {
        FakeFilter camera{"camera"};
        FakePin capture{"capture", PINDIR_OUTPUT}, preview{"preview", PINDIR_OUTPUT}, input{"input", PINDIR_INPUT};
        for (FakePin* p : {&capture, &preview, &input}) camera.AddPin(*p).hasCategory = true;
        capture.category = PIN_CATEGORY_CAPTURE;
        preview.category = PIN_CATEGORY_PREVIEW;
        input.category = PIN_CATEGORY_ANALOGVIDEOIN;
        capture.mediaTypes = preview.mediaTypes = {{MEDIATYPE_Video, MEDIASUBTYPE_YUY2}};
        camera.propertyPages = true;
        ComHolder<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                           reinterpret_cast<void**>(graph.Receive())));
        ASSERT_EQ(S_OK, graph->AddFilter(&camera, L"Video Capture"));
        CaptureBuilder builder;
        ASSERT_TRUE(builder.innerBuilder);
        EXPECT_EQ(S_OK, builder.SetFiltergraph(graph));
        ComHolder<IGraphBuilder> fetched;
        EXPECT_EQ(S_OK, builder.GetFiltergraph(fetched.Receive()));
        EXPECT_EQ(graph.Get(), fetched.Get());

        ComHolder<ISpecifyPropertyPages> pages;
        EXPECT_EQ(S_OK, builder.FindInterface(nullptr, nullptr, &camera, IID_ISpecifyPropertyPages,
                                              reinterpret_cast<void**>(pages.Receive())));
        EXPECT_EQ(static_cast<ISpecifyPropertyPages*>(&camera), pages.Get());
        ComHolder<IAMCrossbar> none;
        EXPECT_TRUE(FAILED(builder.FindInterface(nullptr, nullptr, &camera, IID_IAMCrossbar,
                                                 reinterpret_cast<void**>(none.Receive()))));
        struct Case {
            PIN_DIRECTION direction;
            const GUID* category;
            const GUID* type;
            int index;
            IPin* expected;
        } cases[] = {
            {PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, nullptr, 0, &capture},
            {PINDIR_OUTPUT, &PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, 0, &preview},
            {PINDIR_OUTPUT, nullptr, nullptr, 1, &preview},
            {PINDIR_INPUT, &PIN_CATEGORY_ANALOGVIDEOIN, nullptr, 0, &input},
            {PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, 0, nullptr},
        };
        for (const auto& c : cases) {
            ComHolder<IPin> pin;
            HRESULT hr = builder.FindPin(static_cast<IBaseFilter*>(&camera), c.direction, c.category, c.type, FALSE,
                                         c.index, pin.Receive());
            EXPECT_EQ(c.expected, pin.Get()) << NameOf(c.expected);
            EXPECT_EQ(c.expected != nullptr, SUCCEEDED(hr)) << NameOf(c.expected) << " " << std::hex << hr;
        }
        pages.Clear();
        EXPECT_EQ(S_OK, graph->RemoveFilter(&camera));
        EXPECT_DOUBLES_BALANCED();
    }
    ::CoUninitialize();
}

}  // namespace
