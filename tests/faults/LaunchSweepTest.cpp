// Every platform call on the way from a double-click to the property frame, failed in
// turn and then answered with an odd success: the launch must end quietly with nothing
// held and nothing leaked, and the next launch must open the frame.
#include "LaunchWorld.h"
#include "SweepCheck.h"

using namespace faults;

namespace {

// A clean launch opens one frame for the camera's filter, and leaves no reference behind.
bool CleanLaunchOpensTheFrame(LaunchWorld& w) {
    w.frames.clear();
    w.Launch();
    bool ok = w.frames.size() == 1 && w.frames[0].object == static_cast<IBaseFilter*>(&w.camera) &&
              w.frames[0].pages == 1 && w.StateEmpty();
    w.ForgetMonikers();
    w.frames.clear();
    return ok;
}

}  // namespace

TEST(FaultSweep, LaunchSurvivesEveryFailedCall) {
    Tally tally;
    {
        LaunchWorld w;
        doubles::RebaseAll();
        plan.Record();
        w.Launch();
        plan.Off();
        const std::vector<std::string> calls = plan.Points();
        ASSERT_EQ(w.frames.size(), 1u) << "the unfaulted launch must open the frame";
        w.ForgetMonikers();
        w.frames.clear();
        EXPECT_DOUBLES_BALANCED();

        for (Mode mode : {Mode::Fail, Mode::OddSuccess, Mode::SuccessWithObject}) {
            for (int k = 0; k < static_cast<int>(calls.size()); ++k) {
                const int failuresBefore = FailuresSoFar();
                const int taskMemBefore = w.TaskMemOutstanding();
                plan.Arm(k, mode);
                w.Launch();
                plan.Off();
                bool ok = plan.Fired() && w.StateEmpty();
                w.ForgetMonikers();
                w.frames.clear();
                EXPECT_DOUBLES_BALANCED();
                ok = ok && w.TaskMemOutstanding() == taskMemBefore;
                ok = ok && CleanLaunchOpensTheFrame(w);
                EXPECT_DOUBLES_BALANCED();
                ok = ok && FailuresSoFar() == failuresBefore;
                tally.Count(ok, k, mode, calls[k]);
                // A leak is reported once, not again at every later point.
                if (!ok) doubles::RebaseAll();
            }
        }
        std::printf("launch path: %zu platform calls\n", calls.size());
        PrintCalls(calls);
    }
    Report("launch", tally);
    EXPECT_GT(tally.points, 0);
    EXPECT_EQ(tally.survived, tally.points);
}
