// The wrapper's MPEG-2 rendering and output file on Wine's graph and builder.
#include <gtest/gtest.h>

#include "builder/BuilderWorld.h"

TEST(Builder, Probe) {
    for (const BuilderPath& path : builderPaths) {
        BuilderWorld w;
        printf("%s: %lx\n", path.name, path.run(w));
        printf("  mpegOut->%s video->%s audio->%s encOut->%s demux outputs %zu\n", doubles::NameOf(w.mpegOut.peer).c_str(),
               doubles::NameOf(w.video.peer).c_str(), doubles::NameOf(w.audio.peer).c_str(),
               doubles::NameOf(w.encoderOut.peer).c_str(), w.demux.outputs.size());
    }
}
