// Every platform call on the way from a double-click to the property frame, and on the
// builder's MPEG-2 and output-file paths, failed in turn, then answered with an odd
// success, then with S_FALSE and its objects: no crash, no reference or task memory left
// or released too often, nothing held afterwards, and the next clean run works.
#include "FaultPoints.h"
#include "LaunchWorld.h"
#include "builder/CaptureBuilder.h"
#include <gtest/gtest.h>
#include <functional>

using namespace faults;
using doubles::FakePin;

namespace {

int Failures() { return testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count(); }

// run acts with the plan as armed, switches it off and says whether all came back as it
// should. A first run hooks what the path reaches; a recording run lists its points;
// then each point is armed in every mode.
void Sweep(const std::string& path, Tally& tally, const std::function<bool()>& run) {
    run();
    plan.Record();
    ASSERT_TRUE(run()) << path << " must work unfaulted";
    const std::vector<std::string> points = plan.points;
    std::printf("%s: %zu platform calls\n", path.c_str(), points.size());
    for (Mode mode : {Mode::Fail, Mode::OddSuccess, Mode::SuccessWithObject})
        for (int k = 0; k < static_cast<int>(points.size()); ++k) {
            const int failures = Failures();
            plan.Arm(k, mode);
            const bool ok = run() && plan.fired && Failures() == failures;
            tally.Count(ok, k, mode, path + ": " + points[k]);
            if (!ok) doubles::RebaseAll();  // a leak is reported once, not at every later point
        }
}

bool LaunchAndRelaunch(LaunchWorld& w) {
    w.frames.clear();
    w.Launch();
    plan.active = false;
    bool ok = w.StateEmpty() && w.taskMem.Outstanding() == 0;
    EXPECT_DOUBLES_BALANCED();
    w.frames.clear();
    w.Launch();
    EXPECT_DOUBLES_BALANCED();
    return ok && w.frames.size() == 1 && w.frames[0].object == static_cast<IBaseFilter*>(&w.camera) &&
           w.frames[0].pages == 1 && w.StateEmpty();
}

// Sources of an MPEG-2 stream and of plain video and audio, one registered encoder that
// takes both, the demultiplexer and the dump filter as registered classes.
struct BuilderWorld {
    BuilderWorld() {
        registry.Register(CLSID_CaptureGraphBuilder2, &platformBuilder);
        registry.Register(CLSID_MPEG2Demultiplexer, static_cast<IBaseFilter*>(&demux.filter));
        registry.Register({0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}}, &dump);
        registry.Register(CLSID_SystemDeviceEnum, &encoders);
        encoders.Add(KSCATEGORY_ENCODER, &encoderDevice);
        platformBuilder.graph = &graph;
        mpegSource.AddPin(mpegOut).mediaTypes = {{MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM}};
        camera.AddPin(videoOut).mediaTypes = {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24}};
        videoOut.hasKsPin = true;  // on no hardware medium: encoders are tried one by one
        camera.AddPin(audioOut).mediaTypes = {{MEDIATYPE_Audio, MEDIASUBTYPE_PCM}};
        for (FakePin* p : {&encoderVideoIn, &encoderAudioIn, &encoderOut}) encoder.AddPin(*p);
        HookAll({static_cast<IBaseFilter*>(&mpegSource), static_cast<IBaseFilter*>(&camera)});
    }
    doubles::TaskMemWatch taskMem;
    doubles::FakeClassRegistry registry;
    FaultySeam<platform::CoCreateInstance> create{"CoCreateInstance"};
    doubles::FakeCaptureGraphBuilder platformBuilder{"platformBuilder"};
    doubles::FakeGraph graph;
    FakeDemultiplexer demux{"demux"};
    FakeFileSink dump{"dump"};
    doubles::FakeFilter mpegSource{"mpegsrc"}, camera{"cam"}, encoder{"enc"};
    FakePin mpegOut{"mpegsrc.out", PINDIR_OUTPUT}, videoOut{"cam.video", PINDIR_OUTPUT},
        audioOut{"cam.audio", PINDIR_OUTPUT}, encoderVideoIn{"enc.video", PINDIR_INPUT},
        encoderAudioIn{"enc.audio", PINDIR_INPUT}, encoderOut{"enc.out", PINDIR_OUTPUT};
    doubles::FakeMoniker encoderDevice{"enc.moniker", nullptr, static_cast<IBaseFilter*>(&encoder)};
    doubles::FakeDeviceEnum encoders;
};

const std::pair<const char*, HRESULT (*)(CaptureBuilder&, BuilderWorld&)> builderPaths[] = {
    {"RenderStream of an MPEG-2 byte stream", [](CaptureBuilder& b, BuilderWorld& w) {
         return b.RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.mpegSource), nullptr, nullptr);
     }},
    {"RenderStream through the encoder", [](CaptureBuilder& b, BuilderWorld& w) {
         return b.RenderStream(nullptr, &MEDIATYPE_Stream, static_cast<IBaseFilter*>(&w.camera), nullptr, nullptr);
     }},
    {"SetOutputFileName to the dump filter", [](CaptureBuilder& b, BuilderWorld&) {
         ComHolder<IBaseFilter> filter;
         ComHolder<IFileSinkFilter> sink;
         return b.SetOutputFileName(&DumpOutputSubtype, L"C:\\capture.mpg", filter.Receive(), sink.Receive());
     }},
};

}  // namespace

TEST(FaultSweep, EveryPlatformCallFailsInTurnAndEverythingSurvives) {
    Tally launch, builder;
    {
        LaunchWorld w;
        FaultySeam<platform::CoCreateInstance> create("CoCreateInstance");
        FaultySeam<platform::OleCreatePropertyFrame> frame("OleCreatePropertyFrame");
        FaultySeam<platform::MultiByteToWideChar> multiByte("MultiByteToWideChar");
        FaultySeam<platform::VarBstrCmp> compare("VarBstrCmp", VARCMP_NULL);
        FaultySeam<platform::SysAllocStringLen> alloc("SysAllocStringLen");
        FaultySeam<platform::GetVersionExA> version("GetVersionExA");
        doubles::RebaseAll();
        Sweep("launch", launch, [&] { return LaunchAndRelaunch(w); });
    }
    // Each run in a fresh world: the path as armed, then clean on the same wrapper.
    for (const auto& [name, path] : builderPaths)
        Sweep(name, builder, [&, path = path] {
            const bool recording = plan.target < 0;
            auto w = std::make_unique<BuilderWorld>();
            auto wrapper = std::make_unique<CaptureBuilder>();
            const HRESULT hr = path(*wrapper, *w);
            plan.active = false;
            path(*wrapper, *w);
            wrapper->ReleaseFilters();
            wrapper.reset();
            const bool ok = (!recording || hr == S_OK) && w->taskMem.Outstanding() == 0;
            EXPECT_DOUBLES_BALANCED();
            w.reset();
            return ok && doubles::LiveHeapDoubles() == 0;
        });

    launch.Print("launch: ");
    builder.Print("builder: ");
    Tally{launch.points + builder.points, launch.survived + builder.survived}.Print("");
    EXPECT_GT(launch.points, 0);
    EXPECT_GT(builder.points, 0);
    EXPECT_EQ(launch.survived + builder.survived, launch.points + builder.points);
}
