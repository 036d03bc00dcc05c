#include "builder/BuilderWorld.h"

#include <gtest/gtest.h>

namespace {
// Written out here from its published value, not taken from the code under test.
const CLSID dumpId = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
const CLSID encoderId = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x04}};
}  // namespace

BuilderWorld::BuilderWorld(bool hardwareMedium)
    : demuxClass(CLSID_MPEG2Demultiplexer, static_cast<IBaseFilter*>(&demux.filter)),
      dumpClass(dumpId, static_cast<IFileSinkFilter*>(&dump)),
      encoderClass(encoderId, static_cast<IBaseFilter*>(&encoder)),
      encoderDevice(KSCATEGORY_ENCODER, L"navolet test encoder", L"Navolet test encoder", encoderId) {
    mpegOut.mediaTypes = {{MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM}};
    video.mediaTypes = {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24}};
    video.ksPin = encoderVideo.ksPin = true;
    encoderVideo.mediaTypes = video.mediaTypes;
    if (hardwareMedium) video.mediums = encoderVideo.mediums = {{{0x1234, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}}, 7, 0}};
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

std::string BuilderWorld::Outcome() {
    std::string text;
    for (doubles::FakePin* pin : {&mpegOut, &video, &audio, &encoderOut})
        if (pin->peer) text += pin->name + ">" + doubles::NameOf(pin->peer) + " ";
    text += "; outputs";
    for (size_t i = 0; i < demux.outputs.size(); ++i) {
        char output[40];
        snprintf(output, sizeof output, " %ls:%lu", demux.outputs[i].name.c_str(), i < demux.streamIds.size() ? demux.streamIds[i].first : 0);
        text += output;
    }
    if (!dump.fileName.empty()) text += "; dump " + std::string(dump.fileName.begin(), dump.fileName.end()) + (dump.filter.graph ? " in the graph" : "");
    if (builder->videoEncoder) text += "; video encoder " + doubles::NameOf(builder->videoEncoder);
    return text;
}

namespace {
std::string Result(HRESULT hr, BuilderWorld& w) {
    char text[16];
    return snprintf(text, sizeof text, "%08lx ", hr), text + w.Outcome();
}
}  // namespace

const BuilderPath builderPaths[5] = {
    {"RenderStream of an MPEG-2 program stream", [](BuilderWorld& w) {
         return Result(w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpeg), nullptr, nullptr), w);
     }, "80040217 mpeg.out>demux.in ; outputs MpegVideo:224 MpegAudio:192"},
    // With a renderer the caller renders the demultiplexer itself: it is connected, not set up.
    {"RenderStream of an MPEG-2 program stream to a renderer", [](BuilderWorld& w) {
         return Result(w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpeg), nullptr, &w.encoder), w);
     }, "00000000 mpeg.out>demux.in ; outputs"},
    // The camera's video through the registered encoder, which takes its sound too.
    {"RenderStream of a camera through its encoder", [](BuilderWorld& w) {
         return Result(w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.camera), nullptr, nullptr), w);
     }, "80040217 cam.video>enc.video cam.audio>enc.audio enc.out>demux.in ; outputs MpegVideo:224 MpegAudio:192; video encoder enc"},
    // On a hardware medium the encoder is the one with an input on it.
    {"RenderStream of a camera on a hardware medium", [](BuilderWorld& w) {
         return Result(w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.camera), nullptr, nullptr), w);
     }, "80040217 cam.video>enc.video cam.audio>enc.audio enc.out>demux.in ; outputs MpegVideo:224 MpegAudio:192; video encoder enc",
     true},
    // Each out-pointer gets a reference of its own; the doubles' counts show it.
    {"SetOutputFileName to the dump filter", [](BuilderWorld& w) {
         ComHolder<IBaseFilter> filter;
         ComHolder<IFileSinkFilter> sink;
         HRESULT hr = w.builder->SetOutputFileName(&DumpOutputSubtype, L"C:\\capture.mpg", filter.Receive(), sink.Receive());
         return Result(hr, w) + (filter == static_cast<IBaseFilter*>(&w.dump.filter) && sink == &w.dump ? "; handed out" : "");
     }, "00000000 ; outputs; dump C:\\capture.mpg in the graph; handed out"},
};
