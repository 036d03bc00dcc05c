// Camera drivers that answer with success and hostile values, one world per seed: whatever
// they say, a launch ends within its budget of calls, nothing crashes, every double is back
// at its count, no task memory is left, and the frame is shown exactly when the first device
// named as the camera has a filter with a sound page list.
//   NAVOLET_HOSTILE_SEEDS=FIRST:COUNT   the seeds to run (tools/hostile.sh); one replays one
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "builder/CaptureBuilder.h"
#include "faults/HostileWorld.h"
#include "faults/LaunchWorld.h"

namespace {

// The most calls one launch may make on the objects it is handed. In these worlds the
// bounds on what is taken from one enumerator (256 items), on crossbars entered (64) and on
// filters removed hold a launch below it: some 2,000 calls for the devices and the pin scan,
// at most 1,600 for each crossbar entered. Without them a launch here does not end.
const long callBudget = 120000;

// A launch that has run this long does not end: the run stops and says which world it was.
const DWORD hangMilliseconds = 60000;
volatile DWORD launchStarted;
volatile bool launching;

DWORD WINAPI Watchdog(void*) {
    for (;; Sleep(1000))
        if (launching && GetTickCount() - launchStarted > hangMilliseconds) {
            std::printf("FAILED seed %llu: the launch has not ended after %lu s\n", static_cast<unsigned long long>(hostile::seed),
                        hangMilliseconds / 1000);
            std::fflush(stdout);
            ExitProcess(4);
        }
}

}  // namespace

// A medium list whose count says more than its size holds: what lies past the size is not
// the pin's, however it reads.
TEST(HostileDrivers, AMediumListIsReadOnlyAsFarAsItsSize) {
    doubles::FakePin pin{"pin", PINDIR_OUTPUT};
    pin.ksPin = true;
    pin.mediums = {{KSMEDIUMSETID_Standard, 0, 0}, {{0x1234, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}}, 7, 0}};
    pin.mediumsInSize = 1;
    REGPINMEDIUM medium = {};
    EXPECT_EQ(CaptureBuilder().GetPinMedium(&pin, &medium), S_OK);
    EXPECT_EQ(medium.clsMedium, GUID_NULL);
    EXPECT_EQ(hooks::Left(), "");
}

TEST(HostileDrivers, NoAnswerCrashesHangsOrGrowsALaunchOrOpensTheWrongDevice) {
    unsigned long long first = 1, count = 4000;
    const char* chosen = std::getenv("NAVOLET_HOSTILE_SEEDS");
    if (chosen) std::sscanf(chosen, "%llu:%llu", &first, &count);
    hostile::Devices devices;
    launch::LaunchWorld w(true);
    // What the launch creates is hooked, and through it all it is handed.
    hooks::FaultySeam<platform::CoCreateInstance> create("CoCreateInstance");
    hooks::NameSeam<platform::MultiByteToWideChar> multiByte("MultiByteToWideChar");
    hooks::NameSeam<platform::SysAllocStringLen> alloc("SysAllocStringLen");
    CloseHandle(CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr));

    unsigned long long ended = 0, shown = 0, failed = 0, mostSeed = 0, slowSeed = 0, completeAt = 0;
    long most = 0;
    DWORD slowest = 0;
    for (unsigned long long seed = first; seed < first + count; ++seed) {
        static const int chances[] = {50, 150, 300, 500};
        hostile::Begin(seed);
        hostile::chance = chances[hostile::random.Below(4)];
        hostile::devicesSound = hostile::random.Chance(500);
        std::string wrong;
        {
            hostile::World world;
            if (std::getenv("NAVOLET_HOSTILE_TRACE")) world.Describe();
            w.frames.clear();
            launchStarted = GetTickCount(), launching = true;
            w.Launch();
            launching = false;
            hostile::on = false;
            const DWORD took = GetTickCount() - launchStarted;
            ++ended;
            if (hostile::calls > most) most = hostile::calls, mostSeed = seed;
            if (took > slowest) slowest = took, slowSeed = seed;
            if (hostile::calls > callBudget) wrong += "the launch made " + std::to_string(hostile::calls) + " calls; ";
            const size_t due = hostile::FrameDue() ? 1 : 0;
            shown += w.frames.size();
            if (w.frames.size() != due)
                wrong += std::to_string(w.frames.size()) + " frames shown, " + std::to_string(due) + " due; ";
            if (hostile::CaptureFilterRemoved()) wrong += "the teardown removed the capture filter itself; ";
            wrong += w.Left();
            hostile::End();
        }
        if (!wrong.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << ": " << wrong;
            std::printf("FAILED seed %llu: %s\n", seed, wrong.c_str());
        }
        // The world after which every hostile answer had been drawn at every call site.
        const hostile::Coverage now = hostile::Covered();
        if (now.drawn < now.pairs) completeAt = 0;
        else if (!completeAt) completeAt = seed - first + 1;
        if (chosen && (seed - first + 1) % 1000 == 0)
            std::printf("%llu worlds done, the last of seed %llu\n", seed - first + 1, seed), std::fflush(stdout);
    }
    const hostile::Coverage c = hostile::Covered();
    std::printf("hostile worlds: %llu run from seed %llu, %llu launches ended, %llu frames shown, %llu failed\n", count,
                first, ended, shown, failed);
    std::printf("most calls in one launch: %ld (seed %llu, budget %ld); slowest launch: %lu ms (seed %llu)\n", most,
                mostSeed, callBudget, slowest, slowSeed);
    std::printf("hostile answers drawn: %d of the %d that %d call sites can get", c.drawn, c.pairs, c.sites);
    if (completeAt) std::printf(", all of them by world %llu", completeAt);
    std::printf("\n");
    if (!c.missing.empty()) std::printf("not drawn: %s\n", c.missing.c_str());
    // The test command's own seeds reach every hostile answer at every call site.
    if (!chosen) {
        EXPECT_EQ(c.missing, "");
    }
}
