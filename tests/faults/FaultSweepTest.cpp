// Every call on the way from a double-click to the property frame, on Wine's objects, the
// demo camera and the doubles alike, and every call of the builder's MPEG-2 and
// output-file paths: failed in turn, then answered with an odd success, then with S_FALSE
// and its objects. After each: no crash, nothing left held, and a clean run works again.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "faults/BuilderWorld.h"
#include "faults/LaunchWorld.h"

using namespace hooks;
using namespace build;
using launch::LaunchWorld;

namespace {

// Fault points armed and survived, over all paths.
struct Tally {
    int points = 0, survived = 0;
};

// run acts with the plan as armed, switches it off and answers what was wrong, or "". A
// first run hooks what the path reaches, a recording run lists its calls, then each is
// armed in every mode.
void Sweep(const std::string& path, Tally& tally, const std::function<std::string()>& run) {
    run();
    plan.Record();
    ASSERT_EQ(run(), "") << path << " must work unfaulted";
    const std::vector<std::string> calls = plan.calls;
    std::printf("%s: %zu calls\n", path.c_str(), calls.size());
    for (Mode mode : {Mode::Fail, Mode::OddSuccess, Mode::SuccessWithObject})
        for (int k = 0; k < static_cast<int>(calls.size()); ++k) {
            plan.Arm(k, mode);
            const std::string wrong = run();
            ++tally.points;
            if (wrong.empty() && plan.fired) ++tally.survived;
            else ADD_FAILURE() << path << ", call " << k << " " << calls[k] << " "
                               << (mode == Mode::Fail ? "failed" : mode == Mode::OddSuccess ? "oddly successful" : "S_FALSE with its objects")
                               << ": " << (plan.fired ? wrong : "not reached");
        }
}

// The platform operations of the launch as fault points, in front of the world's own.
struct LaunchSeams {
    FaultySeam<platform::CoCreateInstance> create{"CoCreateInstance"};
    FaultySeam<platform::OleCreatePropertyFrame> frame{"OleCreatePropertyFrame"};
    FaultySeam<platform::GetProfileStringA> profile{"GetProfileStringA"};
    FaultySeam<platform::GetVersionExA> version{"GetVersionExA"};
    FaultySeam<platform::GetLocaleInfoA> locale{"GetLocaleInfoA"};
    FaultySeam<platform::MultiByteToWideChar> multiByte{"MultiByteToWideChar"};
    FaultySeam<platform::SysAllocStringLen> alloc{"SysAllocStringLen"};
    FaultySeam<platform::VarBstrCmp> compare{"VarBstrCmp", VARCMP_NULL};
    FaultySeam<platform::VariantClear> clear{"VariantClear"};
};

// The launch as armed, then a clean one, which must show the one frame it always shows.
// Unfaulted, its teardown of the earlier graph comes first.
std::string LaunchTwice(LaunchWorld& w, const std::string& frame, const std::string& teardown) {
    const bool recording = plan.target < 0;
    w.frames.clear();
    w.Launch();
    plan.active = false;
    std::string left = w.Left();
    if (recording && plan.Calls("graph.").compare(0, teardown.size(), teardown) != 0)
        left += "the teardown went: " + plan.Calls("graph.") + "; ";
    w.frames.clear();
    w.Launch();
    if (w.frames != std::vector<std::string>{frame})
        for (const std::string& shown : w.frames.empty() ? std::vector<std::string>{"none"} : w.frames)
            left += "the next launch showed the frame: " + shown + "; ";
    return left + w.Left();
}

// The first device whose name is the camera's without regard to case; its driver's pages
// in one frame owned by the tray window, whatever is clicked meanwhile. Downstream filters
// of an earlier graph go deepest first, each after both ends of its connection; the
// crossbar upstream stays.
const struct {
    const char *name, *frame, *teardown;
} cameras[] = {
    {"launch with crossbar and VBI",
     "owner tray at 30,30 caption QUENDAL KVX410RB PC CAMERA objects 1:cam pages 1:camera locale 0 routes 2 "
     "captions 1 format -",
     "graph.Disconnect(sink.in) graph.Disconnect(renderer.out) graph.RemoveFilter(sink) "
     "graph.Disconnect(renderer.in) graph.Disconnect(cam.capture) graph.RemoveFilter(renderer) graph.AddFilter(cam)"},
    {"launch with the demo camera",
     "owner tray at 30,30 caption Quendal KVX410RB PC Camera objects 1:platform pages 1:other locale 0 routes 0 "
     "captions 0 format platform",
     "graph.AddFilter(platform)"},
};

}  // namespace

TEST(FaultSweep, EveryCallFailsInTurnAndEverythingSurvives) {
    Tally tally;
    for (const auto& camera : cameras) {
        LaunchWorld w(&camera == &cameras[1]);
        LaunchSeams seams;
        Sweep(camera.name, tally, [&] { return LaunchTwice(w, camera.frame, camera.teardown); });
    }
    // Each run in a fresh world: the path as armed, then clean on the same wrapper.
    for (const BuilderPath& path : builderPaths)
        Sweep(path.name, tally, [&] {
            std::string outcome;
            const bool recording = plan.target < 0;
            {
                FaultySeam<platform::CoCreateInstance> create("CoCreateInstance");
                BuilderWorld w(path.hardwareMedium);
                outcome = path.run(w);
                plan.active = false;
                path.run(w);
            }
            return (recording && outcome != path.expected ? "the path made: " + outcome + "; " : "") + Left();
        });
    std::printf("%d fault points, %d survived\n", tally.points, tally.survived);
    EXPECT_GT(tally.points, 0);
}
