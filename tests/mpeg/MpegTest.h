#pragma once
// A wrapper over a fake platform builder whose graph is a PairGraph, with the device
// enumerator, filter mapper and demultiplexer registered. Every double the fixture makes
// outlives the wrapper; TearDown lets the wrapper go and checks that each double is back
// to its starting count and every task-allocated block was freed.
#include "builder/CaptureBuilder.h"
#include "mpeg/MpegDoubles.h"
#include <gtest/gtest.h>

namespace mpeg {

const REGPINMEDIUM NoMedium = {GUID_NULL, 0, 0};
const REGPINMEDIUM Standard = {KSMEDIUMSETID_Standard, 0, 0};
const REGPINMEDIUM Hardware = {{0x1234, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}}, 7, 0};
const MediaType VideoRgb(MEDIATYPE_Video, MEDIASUBTYPE_RGB24);
const MediaType AudioPcm(MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
const MediaType ProgramStream(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);

class MpegTest : public ::testing::Test {
protected:
    MpegTest() {
        registry.Register(CLSID_CaptureGraphBuilder2, static_cast<ICaptureGraphBuilder2*>(&inner));
        registry.Register(CLSID_SystemDeviceEnum, static_cast<ICreateDevEnum*>(&devices));
        registry.Register(CLSID_FilterMapper2, static_cast<IFilterMapper2*>(&mapper));
        registry.Register(CLSID_MPEG2Demultiplexer, static_cast<IBaseFilter*>(&demux));
        inner.graph = &graph;
        builder.reset(new CaptureBuilder);
    }
    void TearDown() override {
        builder.reset();
        EXPECT_DOUBLES_BALANCED();
        EXPECT_EQ(0, taskMem.Outstanding());
    }

    template <class T, class... Args>
    T& Make(Args&&... args) {
        owned.push_back(std::make_unique<T>(std::forward<Args>(args)..., &journal));
        return static_cast<T&>(*owned.back());
    }
    FakePin& Pin(FakeFilter& filter, const std::string& name, PIN_DIRECTION direction,
                 std::vector<MediaType> types = {}) {
        auto& pin = Make<FakePin>(filter.name + "." + name, direction);
        pin.mediaTypes = std::move(types);
        return filter.AddPin(pin);
    }
    // A pin on a medium list (kernel-streaming support switched on).
    FakePin& KsPin(FakeFilter& filter, const std::string& name, PIN_DIRECTION direction,
                   std::vector<MediaType> types, std::vector<REGPINMEDIUM> mediums) {
        FakePin& pin = Pin(filter, name, direction, std::move(types));
        pin.hasKsPin = true;
        pin.mediums = std::move(mediums);
        return pin;
    }
    FakeMoniker& MonikerFor(IBaseFilter* filter) {
        return Make<FakeMoniker>("moniker(" + NameOf(filter) + ")", nullptr, filter);
    }
    std::string Journaled(const std::string& prefix) const {
        std::string text;
        for (auto& e : journal.entries)
            if (e.compare(0, prefix.size(), prefix) == 0) text += (text.empty() ? "" : " ") + e;
        return text;
    }

    Journal journal;
    TaskMemWatch taskMem;
    FakeClassRegistry registry;
    FakeCaptureGraphBuilder inner{"inner", &journal};
    PairGraph graph{"graph", &journal};
    FakeDeviceEnum devices{"devenum", &journal};
    FakeMapper mapper{"mapper", &journal};
    FakeDemux demux{"demux", &journal};
    std::vector<std::unique_ptr<ComDouble>> owned;
    std::unique_ptr<CaptureBuilder> builder;
};

}  // namespace mpeg
