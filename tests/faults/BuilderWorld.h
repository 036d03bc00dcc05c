#pragma once
// The builder's MPEG-2 paths in a world of fault doubles: a source with an MPEG-2 output
// pin; a source with plain video and audio pins and one registered encoder that takes
// both and feeds the demultiplexer; the demultiplexer and the dump filter as registered
// classes; the platform's builder rendering the demultiplexer's pins.
#include "FaultDoubles.h"

namespace faults {

struct BuilderWorld {
    BuilderWorld();

    doubles::FakeClassRegistry registry;
    doubles::TaskMemWatch taskMem;
    FaultBuilder platformBuilder;
    FaultGraph graph;
    FaultDemultiplexer demux;
    FaultFileSink dump;
    // Delivers MPEG-2 itself.
    FaultFilter mpegSource;
    FaultPin mpegOut;
    // Delivers plain video and audio, encoded by the one registered encoder.
    FaultFilter camera;
    FaultPin videoOut;
    FaultPin audioOut;
    FaultFilter encoder;
    FaultPin encoderVideoIn;
    FaultPin encoderAudioIn;
    FaultPin encoderOut;
    FaultMoniker encoderDevice;
    FaultDeviceEnum encoders;
};

}  // namespace faults
