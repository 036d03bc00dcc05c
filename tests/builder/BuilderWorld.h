#pragma once
// The builder wrapper on Wine's filter graph and capture graph builder, with what Wine
// does not have registered beside them: the MPEG-2 demultiplexer, the dump filter, and one
// encoder listed among the encoders that takes video and sound. The sources in the graph:
// an MPEG-2 program stream, and a camera with video on no hardware medium and sound.
#include <memory>

#include "builder/CaptureBuilder.h"
#include "doubles/Doubles.h"

struct BuilderWorld {
    BuilderWorld();
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
};

// The wrapper's paths through what Wine does not have.
struct BuilderPath {
    const char* name;
    HRESULT (*run)(BuilderWorld& w);
};
extern const BuilderPath builderPaths[3];
