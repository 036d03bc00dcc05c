#include "builder/BuilderWorld.h"

#include <gtest/gtest.h>

namespace {
// Written out here from its published value, not taken from the code under test.
const CLSID dumpId = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
const CLSID encoderId = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x04}};
}  // namespace

BuilderWorld::BuilderWorld()
    : demuxClass(CLSID_MPEG2Demultiplexer, static_cast<IBaseFilter*>(&demux.filter)),
      dumpClass(dumpId, static_cast<IFileSinkFilter*>(&dump)),
      encoderClass(encoderId, static_cast<IBaseFilter*>(&encoder)),
      encoderDevice(KSCATEGORY_ENCODER, L"navolet test encoder", L"Navolet test encoder", encoderId) {
    mpegOut.mediaTypes = {{MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM}};
    video.mediaTypes = {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24}};
    video.ksPin = true;
    audio.mediaTypes = {{MEDIATYPE_Audio, MEDIASUBTYPE_PCM}};
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(graph.Receive())), S_OK);
    graph->AddFilter(&mpeg, L"mpeg");
    graph->AddFilter(&camera, L"cam");
    builder.reset(new CaptureBuilder);
    builder->SetFiltergraph(graph);
}

BuilderWorld::~BuilderWorld() {
    builder.reset();
    graph.Clear();
}

const BuilderPath builderPaths[3] = {
    {"RenderStream of an MPEG-2 program stream", [](BuilderWorld& w) {
         return w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpeg), nullptr, nullptr);
     }},
    {"RenderStream of a camera through its encoder", [](BuilderWorld& w) {
         return w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.camera), nullptr, nullptr);
     }},
    {"SetOutputFileName to the dump filter", [](BuilderWorld& w) {
         ComHolder<IBaseFilter> filter;
         ComHolder<IFileSinkFilter> sink;
         return w.builder->SetOutputFileName(&DumpOutputSubtype, L"C:\\capture.mpg", filter.Receive(), sink.Receive());
     }},
};
