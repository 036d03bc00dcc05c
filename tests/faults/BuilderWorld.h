#pragma once
// The builder wrapper on Wine's filter graph and capture graph builder, with what Wine
// does not have registered beside them: the MPEG-2 demultiplexer, the dump filter, and one
// encoder listed among the encoders that takes video and sound. The sources in the graph:
// an MPEG-2 program stream, and a camera with video and sound; its video and the encoder's
// video input on one hardware medium, or on none.
#include <cstddef>
#include <memory>

#include <gtest/gtest.h>

#include "builder/CaptureBuilder.h"
#include "doubles/Doubles.h"

namespace build {

// Written out here from its published value, not taken from the code under test.
const CLSID dumpId = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
const CLSID encoderId = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x04}};

struct BuilderWorld {
    doubles::FakeDemultiplexer demux;
    doubles::FakeDump dump;
    doubles::FakePin mpegOut{"mpeg.out", PINDIR_OUTPUT}, video{"cam.video", PINDIR_OUTPUT}, audio{"cam.audio", PINDIR_OUTPUT},
        encoderVideo{"enc.video", PINDIR_INPUT}, encoderAudio{"enc.audio", PINDIR_INPUT}, encoderOut{"enc.out", PINDIR_OUTPUT};
    doubles::FakeFilter mpeg{"mpeg", mpegOut}, camera{"cam", video, audio}, encoder{"enc", encoderVideo, encoderAudio, encoderOut};
    doubles::ClassObject demuxClass, dumpClass, encoderClass;
    doubles::Device encoderDevice;
    ComHolder<IGraphBuilder> graph;
    std::unique_ptr<CaptureBuilder> builder;

    explicit BuilderWorld(bool hardwareMedium)
        : demuxClass(CLSID_MPEG2Demultiplexer, static_cast<IBaseFilter*>(&demux.filter)),
          dumpClass(dumpId, static_cast<IFileSinkFilter*>(&dump)), encoderClass(encoderId, static_cast<IBaseFilter*>(&encoder)),
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

    // What a path made: the connections, the demultiplexer's outputs and the dump file.
    std::string Outcome() {
        std::string text;
        for (doubles::FakePin* pin : {&mpegOut, &video, &audio, &encoderOut})
            if (pin->peer) text += pin->name + ">" + doubles::NameOf(pin->peer) + " ";
        text += "; outputs";
        for (size_t i = 0; i < demux.outputs.size(); ++i) {
            // Its name, stream id and content, and a hash of its media type: the fixed fields up to
            // the format type, the format length and block.
            const auto& o = demux.outputs[i];
            DWORD hash = 2166136261u;  // FNV-1a
            auto add = [&](const void* bytes, size_t n) {
                for (size_t k = 0; k < n; ++k) hash = (hash ^ static_cast<const BYTE*>(bytes)[k]) * 16777619u;
            };
            add(&o.type, offsetof(AM_MEDIA_TYPE, formattype) + sizeof(GUID)), add(&o.type.cbFormat, 4), add(o.format.data(), o.format.size());
            const auto id = i < demux.streamIds.size() ? demux.streamIds[i] : std::pair<ULONG, DWORD>{};
            char output[80];
            snprintf(output, sizeof output, " %ls:%lu/%lu %08lx", o.name.c_str(), id.first, id.second, hash);
            text += output;
        }
        if (!dump.fileName.empty()) text += "; dump " + std::string(dump.fileName.begin(), dump.fileName.end()) + (dump.filter.graph ? " in the graph" : "");
        if (builder->videoEncoder) text += "; video encoder " + doubles::NameOf(builder->videoEncoder);
        return text;
    }
};

// The wrapper's paths through what Wine does not have, with the outcome each has on Wine,
// where nothing renders the demultiplexer's MPEG-2 outputs. The hashes of the outputs'
// media types were taken once their types and format blocks had been checked byte by byte.
struct BuilderPath {
    const char* name;
    std::string (*run)(BuilderWorld& w);  // the call's result, then the outcome
    const char* expected;
    bool hardwareMedium = false;
};

inline std::string Result(HRESULT hr, BuilderWorld& w) {
    char text[16];
    return snprintf(text, sizeof text, "%08lx ", hr), text + w.Outcome();
}
inline std::string RenderBytes(BuilderWorld& w, IBaseFilter* source, IBaseFilter* renderer = nullptr) {
    return Result(w.builder->RenderStream(nullptr, &MEDIATYPE_Stream, source, nullptr, renderer), w);
}
inline const char* const throughEncoder = "80040217 cam.video>enc.video cam.audio>enc.audio enc.out>demux.in ; outputs "
                                          "MpegVideo:224/1 173bea73 MpegAudio:192/1 73197cdd; video encoder enc";

inline const BuilderPath builderPaths[] = {
    {"RenderStream of an MPEG-2 program stream", [](BuilderWorld& w) { return RenderBytes(w, &w.mpeg); }, "80040217 mpeg.out>demux.in ; outputs MpegVideo:224/1 173bea73 MpegAudio:192/1 73197cdd"},
    // With a renderer the caller renders the demultiplexer itself: it is connected, not set up.
    {"RenderStream of an MPEG-2 program stream to a renderer", [](BuilderWorld& w) { return RenderBytes(w, &w.mpeg, &w.encoder); },
     "00000000 mpeg.out>demux.in ; outputs"},
    // The camera's video through the registered encoder, which takes its sound too.
    {"RenderStream of a camera through its encoder", [](BuilderWorld& w) { return RenderBytes(w, &w.camera); }, throughEncoder},
    // On a hardware medium the encoder is the one with an input on it.
    {"RenderStream of a camera on a hardware medium", [](BuilderWorld& w) { return RenderBytes(w, &w.camera); }, throughEncoder, true},
    // Each out-pointer gets a reference of its own; the doubles' counts show it.
    {"SetOutputFileName to the dump filter", [](BuilderWorld& w) {
         ComHolder<IBaseFilter> filter;
         ComHolder<IFileSinkFilter> sink;
         HRESULT hr = w.builder->SetOutputFileName(&DumpOutputSubtype, L"C:\\capture.mpg", filter.Receive(), sink.Receive());
         return Result(hr, w) + (filter == static_cast<IBaseFilter*>(&w.dump.filter) && sink == &w.dump ? "; handed out" : "");
     }, "00000000 ; outputs; dump C:\\capture.mpg in the graph; handed out"},
};

}  // namespace build
