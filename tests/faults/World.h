#pragma once
// A camera's world for a launch to meet. While Devices lives, three video input devices are
// in the system's registry: a name that only starts like the camera's, the camera's name in
// capitals, the camera's own; the demo camera the test command registers is listed after
// them. While a World lives, each of the three is made into one of its filters, with their
// pins, pages, the crossbars upstream and the filters downstream. The fault sweep's camera
// is one world; the hostile worlds are drawn from seeds: crossbars wired in loops, diamonds
// and chains, pins left dangling or lying about their direction, filters downstream that
// feed back upstream or hand out a new filter at every step.
#include <deque>
#include <string>
#include <utility>

#include "doubles/Hooks.h"

namespace world {
using namespace doubles;

const CLSID deviceClass[3] = {
    {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x11}},
    {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x12}},
    {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x13}},
};
const CLSID cameraPage = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x03}};

struct Devices {
    Device devices[3] = {{CLSID_VideoInputDeviceCategory, L"navolet device 1", L"Quendal KVX410RB PC Camera 2", deviceClass[0]},
                         {CLSID_VideoInputDeviceCategory, L"navolet device 2", L"QUENDAL KVX410RB PC CAMERA", deviceClass[1]},
                         {CLSID_VideoInputDeviceCategory, L"navolet device 3", L"Quendal KVX410RB PC Camera", deviceClass[2]}};
};

struct World {
    std::deque<FakePin> pins;  // every pin of the world, its dangling ones too
    std::deque<FakeFilter> filters;
    std::deque<FakeCrossbar> crossbars;
    std::deque<ClassObject> classes;
    // The connections of an earlier graph downstream of a capture filter, which each launch
    // finds made anew, to tear down first; the links only the program sees, which each
    // launch finds as they were made.
    std::vector<std::pair<FakePin*, FakePin*>> earlier;
    std::vector<std::pair<FakePin*, IPin*>> links;

    FakePin& Pin(const std::string& name, PIN_DIRECTION direction, const GUID& category = GUID_NULL) {
        return pins.emplace_back(name, direction, category);
    }
    FakeFilter& Filter(const std::string& name) { return filters.emplace_back(name); }
    // Device d is made into filter.
    void Make(int d, FakeFilter& filter) { classes.emplace_back(deviceClass[d], static_cast<IBaseFilter*>(&filter)); }
    // Links upstream are the program's alone: the platform's own search for the capture
    // interfaces goes round crossbars wired in a loop for ever, and takes every pin to have
    // a filter.
    void Link(FakePin& input, IPin* source) {
        input.peer = source, input.programOnly = true;
        if (auto* output = static_cast<FakePin*>(source); source && !output->peer) output->peer = &input, output->programOnly = true;
        links.emplace_back(&input, source);
    }
    // The links again, where a launch or the platform's graph, letting go of a filter, broke them.
    void Relink() {
        for (auto [input, source] : std::vector<std::pair<FakePin*, IPin*>>(std::move(links))) Link(*input, source);
    }

    // The fault sweep's: the camera's name in capitals is a capture filter with a capture
    // pin, a VBI pin and an analog video input fed by a crossbar, and a renderer and a sink
    // downstream; the other two devices are a filter without pages.
    World() {
        FakeFilter &camera = Filter("cam"), &other = Filter("other"), &renderer = Filter("renderer"), &sink = Filter("sink");
        FakePin& capture = camera.AddPin(Pin("cam.capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE));
        capture.mediaTypes = {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24}};
        camera.AddPin(Pin("cam.vbi", PINDIR_OUTPUT, PIN_CATEGORY_VBI));
        FakeCrossbar& crossbar = crossbars.emplace_back("xbar", std::vector<LONG>{PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Audio_Line});
        Link(camera.AddPin(Pin("cam.analog", PINDIR_INPUT, PIN_CATEGORY_ANALOGVIDEOIN)), &crossbar.Output());
        camera.pages = {cameraPage};
        earlier = {{&capture, &renderer.AddPin(Pin("renderer.in", PINDIR_INPUT))},
                   {&renderer.AddPin(Pin("renderer.out", PINDIR_OUTPUT)), &sink.AddPin(Pin("sink.in", PINDIR_INPUT))}};
        Make(0, other), Make(1, camera), Make(2, other);
    }

    // A hostile world, drawn from random.
    explicit World(answers::Random& random) {
        // One of the world's signal sources for an input, or none: a crossbar's output, or a
        // pin of no filter.
        auto source = [&](int percent) -> IPin* {
            if (!random.Chance(percent * 10)) return nullptr;
            if (crossbars.empty() || random.Chance(150)) return &Pin("dangling", PINDIR_OUTPUT);
            return &crossbars[random.Below(static_cast<int>(crossbars.size()))].Output();
        };
        static const LONG types[] = {PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Video_Tuner,
                                     PhysConn_Video_Composite, PhysConn_Audio_Line};
        for (int n = 1 + random.Below(4), c = 0; c < n; ++c) {
            std::vector<LONG> inputs(1 + random.Below(5));
            for (LONG& type : inputs) type = types[random.Below(5)];
            FakeCrossbar& crossbar = crossbars.emplace_back("xbar" + std::to_string(c), inputs);
            // Some lie about their inputs every time they are asked.
            if (random.Chance(100)) {
                const LONG claims[] = {0x7FFFFFFF, -3, LONG(inputs.size() + 1)};
                crossbar.claimedInputs = claims[random.Below(3)];
            }
        }
        for (FakeCrossbar& crossbar : crossbars)
            for (FakePin& pin : crossbar.pins) {
                if (pin.direction == PINDIR_INPUT) Link(pin, source(40));
                if (random.Chance(80)) pin.direction = PIN_DIRECTION(1 - pin.direction);
            }
        for (int d = 0; d < 3; ++d) {
            FakeFilter& filter = Filter("device" + std::to_string(d));
            const std::string name = filter.name;
            if (random.Chance(800)) {
                FakePin& capture = filter.AddPin(Pin(name + ".capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE));
                capture.mediaTypes = {{random.Chance(500) ? MEDIATYPE_Video : MEDIATYPE_Interleaved, MEDIASUBTYPE_RGB24}};
            }
            // A filter downstream, and maybe two inputs, one of each filter, that claim each
            // other: a cycle of pins that say they are inputs. Only the program sees it: the
            // platform's own search for the capture interfaces would go round it for ever.
            if (random.Chance(500)) {
                FakePin& output = filter.AddPin(Pin(name + ".out", PINDIR_OUTPUT));
                FakeFilter& down = Filter(name + ".down");
                FakePin& in = down.AddPin(Pin(name + ".down.in", PINDIR_INPUT));
                output.peer = &in, in.peer = &output;
                if (random.Chance(500)) Link(filter.AddPin(Pin(name + ".back", PINDIR_INPUT)), &down.AddPin(Pin(name + ".down.side", PINDIR_INPUT)));
            }
            // Downstream, an input whose every filter is new, with two pins that lead back to it
            // whatever is disconnected.
            if (random.Chance(100)) {
                FakePin& in = Pin(name + ".spawning", PINDIR_INPUT);
                Link(in, in.spawns = &Pin(name + ".spawned", PINDIR_OUTPUT));
                in.spawns->clings = true;
                FakePin& output = filter.AddPin(Pin(name + ".spawn", PINDIR_OUTPUT));
                output.peer = &in, output.programOnly = true;
            }
            if (random.Chance(300)) filter.AddPin(Pin(name + ".vbi", PINDIR_OUTPUT, PIN_CATEGORY_VBI));
            if (random.Chance(200)) filter.AddPin(Pin(name + ".cc", PINDIR_OUTPUT, PIN_CATEGORY_CC));
            for (int a = 1 + random.Below(2); a > 0; --a)
                Link(filter.AddPin(Pin(name + ".analog", PINDIR_INPUT, PIN_CATEGORY_ANALOGVIDEOIN)), source(70));
            if (random.Chance(200)) filter.AddPin(Pin(name + ".in", PINDIR_INPUT));
            filter.pages.assign(random.Below(4), cameraPage);
            Make(d, filter);
        }
    }
};

}  // namespace world
