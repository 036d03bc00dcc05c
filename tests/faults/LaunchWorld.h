#pragma once
// The launch from the tray in a world of fault doubles: the device enumerator lists
// another device and then the camera; the camera's filter has a capture pin, a VBI pin
// and an analog video input fed by a crossbar; the platform's builder finds the capture
// controls on it. Every seam the launch calls is replaced while the world lives.
#include "FaultDoubles.h"
#include "app/TrayDialog.h"
#include "capture/CaptureState.h"
#include <memory>

namespace faults {

class LaunchWorld {
public:
    LaunchWorld();
    ~LaunchWorld();
    LaunchWorld(const LaunchWorld&) = delete;
    LaunchWorld& operator=(const LaunchWorld&) = delete;

    // One launch as a double-click makes it; the frames it opened are in frames.
    void Launch();
    // Nothing of the graph is held, and the launch is not busy.
    bool StateEmpty() const;
    // Lets go of the monikers the last launch kept, as the next launch would.
    void ForgetMonikers();
    // Task memory the doubles handed out and the launch has not freed.
    int TaskMemOutstanding() const;

    struct Frame {
        IUnknown* object;
        ULONG pages;
    };
    std::vector<Frame> frames;

    doubles::FakeClassRegistry registry;
    FaultDeviceEnum devenum;
    FaultBuilder platformBuilder;
    FaultGraph graph;
    FaultFilter camera;
    FaultPin captureOut;
    FaultPin vbiOut;
    FaultPin analogIn;
    FaultCrossbar crossbar;
    FaultStreamConfig streamConfig;
    doubles::FakeUnknown compression;
    doubles::FakeUnknown dialogs;
    FaultBag otherBag;
    FaultMoniker otherDevice;
    FaultBag cameraBag;
    FaultMoniker cameraDevice;
    TrayDialog dialog;

private:
    struct Seams;
    std::unique_ptr<Seams> seams;
};

// The pages the camera's filter offers.
extern const CLSID cameraPageClsid;

}  // namespace faults
