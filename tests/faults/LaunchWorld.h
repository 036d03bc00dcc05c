#pragma once
// The launch from the tray in a world of doubles: the device enumerator lists another
// device and then the camera; the camera's filter has a capture pin, a VBI pin and an
// analog video input fed by a crossbar; the platform's builder finds the capture controls.
// The seams the launch calls are replaced while the world lives.
#include "FaultDoubles.h"
#include "app/TrayDialog.h"
#include "capture/CaptureState.h"
#include <memory>

namespace faults {

struct LaunchWorld {
    LaunchWorld();
    ~LaunchWorld();
    // One launch as a double-click makes it; then lets go of the monikers it kept.
    void Launch();
    // Nothing of the graph is held and the launch is not busy.
    bool StateEmpty() const;

    struct Frame {
        IUnknown* object;
        ULONG pages;
    };
    std::vector<Frame> frames;

    struct Seams;
    std::unique_ptr<Seams> seams;
    doubles::TaskMemWatch taskMem;
    doubles::FakeClassRegistry registry;
    doubles::FakeDeviceEnum devenum;
    doubles::FakeCaptureGraphBuilder platformBuilder;
    doubles::FakeGraph graph;
    doubles::FakeFilter camera;
    doubles::FakePin captureOut, vbiOut, analogIn;
    doubles::FakeCrossbar crossbar;
    FakeStreamConfig streamConfig;
    doubles::FakeUnknown compression, dialogs;
    doubles::FakePropertyBag otherBag, cameraBag;
    doubles::FakeMoniker otherDevice, cameraDevice;
    TrayDialog dialog;
};

}  // namespace faults
