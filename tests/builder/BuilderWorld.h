#pragma once
// The builder wrapper on Wine's filter graph and capture graph builder, with what Wine
// does not have registered beside them: the MPEG-2 demultiplexer, the dump filter, and one
// encoder listed among the encoders that takes video and sound. The sources in the graph:
// an MPEG-2 program stream, and a camera with video and sound; its video and the encoder's
// video input on one hardware medium, or on none.
#include <memory>

#include "builder/CaptureBuilder.h"
#include "doubles/Doubles.h"

struct BuilderWorld {
    explicit BuilderWorld(bool hardwareMedium = false);
    ~BuilderWorld();

    doubles::FakeDemultiplexer demux;
    doubles::FakeDump dump;
    doubles::FakePin mpegOut{"mpeg.out", PINDIR_OUTPUT}, video{"cam.video", PINDIR_OUTPUT}, audio{"cam.audio", PINDIR_OUTPUT},
        encoderVideo{"enc.video", PINDIR_INPUT}, encoderAudio{"enc.audio", PINDIR_INPUT}, encoderOut{"enc.out", PINDIR_OUTPUT};
    doubles::FakeFilter mpeg{"mpeg", mpegOut}, camera{"cam", video, audio}, encoder{"enc", encoderVideo, encoderAudio, encoderOut};
    doubles::ClassObject demuxClass, dumpClass, encoderClass;
    doubles::Device encoderDevice;
    ComHolder<IGraphBuilder> graph;
    std::unique_ptr<CaptureBuilder> builder;

    // What a path made: the connections, the demultiplexer's outputs and the dump file,
    // e.g. "mpeg.out>demux.in; outputs MpegVideo:224 MpegAudio:192".
    std::string Outcome();
};

// The wrapper's paths through what Wine does not have, with the outcome each has on Wine,
// where nothing renders the demultiplexer's MPEG-2 outputs.
struct BuilderPath {
    const char* name;
    std::string (*run)(BuilderWorld& w);  // the call's result, then the outcome
    const char* expected;
    bool hardwareMedium = false;
};
extern const BuilderPath builderPaths[5];
