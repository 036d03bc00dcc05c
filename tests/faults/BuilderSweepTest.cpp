// The builder's byte-stream rendering (from an MPEG-2 source, and through an encoder) and
// its dump output, with every platform call failed in turn and then answered with an odd
// success: no crash, no reference or task memory left or over-released, and the same
// wrapper still serves a second, clean call.
#include "BuilderWorld.h"
#include "SweepCheck.h"
#include "builder/CaptureBuilder.h"
#include <functional>
#include <memory>

using namespace faults;

namespace {

struct Path {
    const char* name;
    std::function<HRESULT(CaptureBuilder&, BuilderWorld&)> run;
};

const Path paths[] = {
    {"RenderStream of an MPEG-2 byte stream",
     [](CaptureBuilder& b, BuilderWorld& w) {
         return b.RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpegSource), nullptr, nullptr);
     }},
    {"RenderStream through the encoder",
     [](CaptureBuilder& b, BuilderWorld& w) {
         return b.RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.camera), nullptr, nullptr);
     }},
    {"SetOutputFileName to the dump filter",
     [](CaptureBuilder& b, BuilderWorld&) {
         ComHolder<IBaseFilter> filter;
         ComHolder<IFileSinkFilter> sink;
         return b.SetOutputFileName(&DumpOutputSubtype, L"C:\\capture.mpg", filter.Receive(), sink.Receive());
     }},
};

// One run in a fresh world: arm, the path, then the same path clean on the same wrapper.
// True when nothing was left, over-released or reported by a double.
bool RunInFreshWorld(const Path& path, const std::function<void()>& arm, HRESULT* first = nullptr) {
    const int failuresBefore = FailuresSoFar();
    int outstanding = 0;
    {
        auto w = std::make_unique<BuilderWorld>();
        FaultyCreation creation;
        {
            arm();
            CaptureBuilder builder;
            HRESULT hr = path.run(builder, *w);
            plan.Off();
            if (first) *first = hr;
            path.run(builder, *w);
            builder.ReleaseFilters();
        }
        outstanding = w->taskMem.Outstanding();
        EXPECT_DOUBLES_BALANCED();
    }
    return outstanding == 0 && doubles::LiveHeapDoubles() == 0 && FailuresSoFar() == failuresBefore;
}

}  // namespace

TEST(FaultSweep, BuilderPathsSurviveEveryFailedCall) {
    Tally tally;
    for (const Path& path : paths) {
        HRESULT clean = E_UNEXPECTED;
        ASSERT_TRUE(RunInFreshWorld(path, [] { plan.Record(); }, &clean)) << path.name;
        const std::vector<std::string> calls = plan.Points();
        EXPECT_EQ(clean, S_OK) << path.name << " must succeed unfaulted";
        std::printf("%s: %zu platform calls\n", path.name, calls.size());
        PrintCalls(calls);
        for (Mode mode : {Mode::Fail, Mode::OddSuccess, Mode::SuccessWithObject})
            for (int k = 0; k < static_cast<int>(calls.size()); ++k) {
                bool ok = RunInFreshWorld(path, [&] { plan.Arm(k, mode); });
                tally.Count(ok, k, mode, std::string(path.name) + ": " + calls[k]);
            }
    }
    Report("builder", tally);
    EXPECT_EQ(tally.survived, tally.points);
}
