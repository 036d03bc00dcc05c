// A thousand launches in one process against the doubles: every launch opens the frame,
// every reference comes back, and the process's handles, window objects and memory stay
// where the first launch left them.
#include "LaunchWorld.h"
#include "ProcessResources.h"
#include <gtest/gtest.h>

namespace {

void OneLaunch(faults::LaunchWorld& w) {
    w.Launch();
    // What the doubles record grows with every call; the platform's objects would not.
    w.registry.calls.clear();
    w.platformBuilder.calls.clear();
    w.graph.filters.clear();
}

}  // namespace

TEST(Soak, AThousandLaunchesLeaveNothingBehind) {
    const int launches = 1000;
    faults::LaunchWorld w;
    doubles::RebaseAll();
    HANDLE self = GetCurrentProcess();
    const DWORD pid = GetCurrentProcessId();

    OneLaunch(w);
    const Resources first = MeasureProcess(self, pid);
    for (int i = 1; i < launches; ++i) OneLaunch(w);
    const Resources last = MeasureProcess(self, pid);

    PrintResources("first", first);
    PrintResources("last", last);
    std::printf("%d launches, %zu frames opened\n", launches, w.frames.size());
    EXPECT_EQ(w.frames.size(), static_cast<size_t>(launches));
    EXPECT_TRUE(w.StateEmpty());
    EXPECT_EQ(w.taskMem.Outstanding(), 0);
    EXPECT_DOUBLES_BALANCED();
    EXPECT_FALSE(ResourcesGrew(first, last, 0));
}
