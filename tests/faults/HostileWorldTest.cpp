// Camera drivers that answer with success and hostile values, one world per seed, several
// answers in one launch: whatever they say, a launch ends within its budget of calls,
// nothing crashes, every double is back at its count, no task memory is left, and the frame
// is shown exactly when the first device named as the camera has a filter with a sound page
// list. One answer at a time, at every call, is the fault sweep's.
//   NAVOLET_HOSTILE_SEEDS=FIRST:COUNT   the seeds to run (tools/hostile.sh); one replays one
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "builder/CaptureBuilder.h"
#include "faults/LaunchWorld.h"

using answers::chooser;

namespace {

// The most calls one launch may make on the objects it is handed. In these worlds the
// bounds on what is taken from one enumerator (256 items), on crossbars entered (64) and on
// filters removed (256) hold a launch below it: some 2,000 calls for the devices and the pin
// scan, at most 1,600 for each crossbar entered, and for a removal that meets a new filter
// at every step at most 6 for each of the 256 pins of each of the 256 filters it enters.
// Without them a launch here does not end.
const long callBudget = 500000;

}  // namespace

// What the sweep's builder paths do not reach: a medium list whose count says more than its
// size holds (what lies past the size is not the pin's, however it reads), a media type
// enumeration that never ends on a pin that offers no video, and a platform that hands out
// no filter mapper with success.
TEST(HostileDrivers, TheBuildersPinAndMapperChecksHoldOffTheSweepsPaths) {
    doubles::FakePin pin{"pin", PINDIR_OUTPUT};
    pin.ksPin = true;
    pin.mediums = {{KSMEDIUMSETID_Standard, 0, 0}, {{0x1234, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}}, 7, 0}};
    pin.mediumsInSize = 1;
    pin.mediaTypes = {{MEDIATYPE_Audio, MEDIASUBTYPE_PCM}};
    CaptureBuilder builder;
    REGPINMEDIUM medium = {};
    EXPECT_EQ(builder.GetPinMedium(&pin, &medium), S_OK);
    EXPECT_EQ(medium.clsMedium, GUID_NULL);
    hooks::Hook({static_cast<IPin*>(&pin)});
    chooser.Arm(1, answers::hostile + 1);  // the first Next of the pin's types: no end
    EXPECT_FALSE(builder.IsVideoPin(&pin));
    EXPECT_EQ(chooser.calls, 1 + 256);
    hooks::Seam<platform::CoCreateInstance> create("CoCreateInstance");
    ComHolder<IEnumMoniker> found;
    chooser.Arm(0, answers::oddly);
    EXPECT_EQ(builder.CreateMatchingFilterEnumerator(&medium, &found), E_FAIL);
    chooser.active = false;
    EXPECT_EQ(hooks::Left(), "");
}

TEST(HostileDrivers, NoAnswerCrashesHangsOrGrowsALaunchOrOpensTheWrongDevice) {
    unsigned long long first = 1, count = 4000;
    const char* chosen = std::getenv("NAVOLET_HOSTILE_SEEDS");
    if (chosen) std::sscanf(chosen, "%llu:%llu", &first, &count);
    launch::LaunchWorld w(true);
    unsigned long long ended = 0, shown = 0, failed = 0, mostSeed = 0, slowSeed = 0;
    long most = 0;
    DWORD slowest = 0;
    for (unsigned long long seed = first; seed < first + count; ++seed) {
        static const int chances[] = {50, 150, 300, 500};
        chooser.Draw(seed);
        chooser.chance = chances[chooser.random.Below(4)];
        chooser.soundDevices = chooser.random.Chance(500);
        std::string wrong;
        {
            world::World world(chooser.random);
            w.world = &world;
            w.frames.clear();
            const DWORD started = GetTickCount();
            w.Launch();
            chooser.active = false;
            const DWORD took = GetTickCount() - started;
            ++ended;
            if (chooser.calls > most) most = chooser.calls, mostSeed = seed;
            if (took > slowest) slowest = took, slowSeed = seed;
            if (chooser.calls > callBudget) wrong += "the launch made " + std::to_string(chooser.calls) + " calls; ";
            shown += w.frames.size();
            wrong += w.Verdict() + w.Left();
        }
        if (!wrong.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << ": " << wrong;
            std::printf("FAILED seed %llu: %s\n", seed, wrong.c_str());
        }
        if (chosen && (seed - first + 1) % 1000 == 0)
            std::printf("%llu worlds done, the last of seed %llu\n", seed - first + 1, seed), std::fflush(stdout);
    }
    w.world = nullptr;
    std::printf("hostile worlds: %llu run from seed %llu, %llu launches ended, %llu frames shown, %llu failed\n", count,
                first, ended, shown, failed);
    std::printf("most calls in one launch: %ld (seed %llu, budget %ld); slowest launch: %lu ms (seed %llu)\n", most,
                mostSeed, callBudget, slowest, slowSeed);
}
