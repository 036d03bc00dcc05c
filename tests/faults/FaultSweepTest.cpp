// Every call on the way from a double-click to the property frame, on Wine's objects, the
// demo camera and the doubles alike, and every call of the builder's MPEG-2 and
// output-file paths, given in turn every answer of its kind: failed, oddly successful,
// S_FALSE with its objects, and on a driver's objects each hostile value. After each: no
// crash, nothing left held, after a hostile answer the frame shown exactly when due, and a
// clean run works again.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>

#include "faults/BuilderWorld.h"
#include "faults/LaunchWorld.h"

using namespace answers;
using namespace build;
using launch::LaunchWorld;

namespace {

// Points armed and survived over all paths, and the points by answer.
struct Tally {
    int points = 0, survived = 0;
    std::map<std::string, int> byAnswer;
};

// run acts with the chooser as armed, switches it off and answers what was wrong, or "".
// A first run hooks what the path reaches, a recording run lists its calls, then each call
// is armed with each of its answers.
void Sweep(const std::string& path, Tally& tally, const std::function<std::string()>& run) {
    run();
    chooser.Arm(-1, 0);
    ASSERT_EQ(run(), "") << path << " must work unfaulted";
    const std::vector<Chooser::Call> calls = chooser.recorded;
    std::printf("%s: %zu calls\n", path.c_str(), calls.size());
    for (size_t k = 0; k < calls.size(); ++k)
        for (int answer = 0; answer < hostile + calls[k].hostileKinds; ++answer) {
            chooser.Arm(static_cast<int>(k), answer);
            const std::string wrong = run(), name = calls[k].Name(answer);
            ++tally.byAnswer[name], ++tally.points;
            if (wrong.empty() && chooser.fired) ++tally.survived;
            else ADD_FAILURE() << path << ", call " << k << " " << calls[k].text << " " << name << ": "
                               << (chooser.fired ? wrong : "not reached");
        }
}

// The calls recorded whose text starts with prefix, joined by spaces.
std::string Calls(const std::string& prefix) {
    std::string text;
    for (const Chooser::Call& c : chooser.recorded)
        if (c.text.compare(0, prefix.size(), prefix) == 0) text += (text.empty() ? "" : " ") + c.text;
    return text;
}

// The launch as armed, then a clean one, which must show the one frame it always shows.
// Unfaulted, its teardown of the earlier graph comes first.
std::string LaunchTwice(LaunchWorld& w, const std::string& frame, const std::string& teardown) {
    const bool recording = chooser.target < 0;
    w.frames.clear();
    w.Launch();
    chooser.active = false;
    std::string left = w.Left() + (chooser.answer >= hostile ? w.Verdict() : "");
    if (recording && Calls("graph.").compare(0, teardown.size(), teardown) != 0)
        left += "the teardown went: " + Calls("graph.") + "; ";
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

TEST(FaultSweep, EveryAnswerAtEveryCallInTurnAndEverythingSurvives) {
    Tally tally;
    for (const auto& camera : cameras) {
        const bool double_ = &camera == &cameras[0];
        LaunchWorld w(double_);
        std::optional<world::World> world;
        if (double_) w.world = &world.emplace();
        Sweep(camera.name, tally, [&] { return LaunchTwice(w, camera.frame, camera.teardown); });
    }
    // Each run in a fresh world: the path as armed, then clean on the same wrapper.
    for (const BuilderPath& path : builderPaths)
        Sweep(path.name, tally, [&] {
            std::string outcome;
            const bool recording = chooser.target < 0;
            {
                hooks::Seam<platform::CoCreateInstance> create("CoCreateInstance");
                BuilderWorld w(path.hardwareMedium);
                outcome = path.run(w);
                chooser.active = false;
                path.run(w);
            }
            return (recording && outcome != path.expected ? "the path made: " + outcome + "; " : "") + hooks::Left();
        });
    std::printf("%d points, %d survived; by answer:", tally.points, tally.survived);
    for (const auto& [name, count] : tally.byAnswer) std::printf(" %s %d%s", name.c_str(), count, name == tally.byAnswer.rbegin()->first ? "\n" : ",");
    EXPECT_GT(tally.points, 0);
}
