#pragma once
// The launch from the tray on Wine's device enumerator, monikers, property bags, filter
// graph and capture graph builder. The camera is either the demo camera the test command
// registers, or a double registered beside it as a video input device: a capture pin
// with its format control, a VBI pin and an analog video input fed by a crossbar. The
// double is listed after a device whose name only starts like the camera's and before one
// whose name matches with the same case. The property frame is answered at the seam,
// which tries a second launch while it is open.
#include <memory>
#include <string>

#include "app/TrayDialog.h"
#include "capture/CaptureState.h"
#include "doubles/Doubles.h"

struct LaunchWorld {
    explicit LaunchWorld(bool demoCamera = false);
    ~LaunchWorld();
    // One launch as a double-click makes it; then the monikers it kept are let go of.
    void Launch();
    // What is left after a launch, or "": the record, the launch guard, the demo camera's
    // filter, and what hooks::Left() finds.
    std::string Left() const;
    // The frames shown: owner, place, caption, objects, pages, locale, and what the
    // record held while it was open.
    std::vector<std::string> frames;

    struct Camera;
    std::unique_ptr<Camera> camera;  // the double, when it is the camera
    TrayDialog dialog;
};

// Live capture filters of the demo camera, as it counts them in the registry.
DWORD LiveDemoFilters();
