// Every call on the way from a double-click to the property frame, on Wine's objects, the
// demo camera and the doubles alike, and every call of the builder's MPEG-2 and
// output-file paths: failed in turn, then answered with an odd success, then with S_FALSE
// and its objects. After each: no crash, nothing left held, and a clean run works again.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "builder/BuilderWorld.h"
#include "capture/LaunchWorld.h"
#include "doubles/Hooks.h"

using namespace hooks;

namespace {

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

std::string LaunchTwice(LaunchWorld& w) {
    w.frames.clear();
    w.Launch();
    plan.active = false;
    std::string left = w.Left();
    w.frames.clear();
    w.Launch();
    if (w.frames.size() != 1) left += "the next launch opened " + std::to_string(w.frames.size()) + " frames; ";
    return left + w.Left();
}

}  // namespace

TEST(FaultSweep, EveryCallFailsInTurnAndEverythingSurvives) {
    Tally tally;
    for (bool demoCamera : {false, true}) {
        LaunchWorld w(demoCamera);
        LaunchSeams seams;
        Sweep(demoCamera ? "launch with the demo camera" : "launch with crossbar and VBI", tally, [&] { return LaunchTwice(w); });
    }
    // Each run in a fresh world: the path as armed, then clean on the same wrapper. On Wine
    // nothing renders the demultiplexer's outputs, so those paths end in its failure.
    for (const BuilderPath& path : builderPaths)
        Sweep(path.name, tally, [&] {
            {
                FaultySeam<platform::CoCreateInstance> create("CoCreateInstance");
                BuilderWorld w;
                path.run(w);
                plan.active = false;
                path.run(w);
            }
            return doubles::Unbalanced() + Held() + (created.empty() ? "" : "objects made for the path are alive; ") +
                   (doubles::TaskBlocksOutstanding() ? "task memory is left; " : "");
        });
    std::printf("%d fault points, %d survived\n", tally.points, tally.survived);
    EXPECT_GT(tally.points, 0);
}
