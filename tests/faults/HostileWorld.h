#pragma once
// A world of camera drivers drawn from a seed, for the launch to meet with hostile answers:
// three devices (registered once, their names as a driver might write them), each bound to a
// capture filter double whose pins, pages and crossbars the seed draws: crossbars wired in
// loops, diamonds and chains, pins left dangling or lying about their direction, filters
// downstream that feed back upstream. The demo camera the test command registers is listed
// after them.
#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>

#include "doubles/Hooks.h"

namespace hostile {
using namespace doubles;

const CLSID deviceClass[3] = {
    {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x11}},
    {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x12}},
    {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x13}},
};
const CLSID somePage = {0x6e1c0a52, 0x1d1b, 0x4b43, {0x9a, 0x55, 0x3b, 0x0e, 0x7c, 0x51, 0x6a, 0x14}};

// In the system's registry while alive: one near miss, the camera's name in small letters,
// and a name of another device.
struct Devices {
    Device devices[3] = {{CLSID_VideoInputDeviceCategory, L"navolet hostile 1", L"Quendal KVX410RB PC Camera 2", deviceClass[0]},
                         {CLSID_VideoInputDeviceCategory, L"navolet hostile 2", L"quendal kvx410rb pc camera", deviceClass[1]},
                         {CLSID_VideoInputDeviceCategory, L"navolet hostile 3", L"Navolet hostile device", deviceClass[2]}};
};

struct World {
    // The world's filters and crossbars, each pin with its direction and peer.
    void Describe() {
        auto pin = [](const FakePin& p) { std::printf(" %s(%s)->%s", p.name.c_str(), p.direction ? "out" : "in", NameOf(p.peer).c_str()); };
        for (FakeFilter& f : filters) std::printf("filter %s:", f.name.c_str()), std::for_each(f.pins.begin(), f.pins.end(), [&](FakePin* p) { pin(*p); }), std::printf("\n");
        for (FakeCrossbar& x : crossbars) std::printf("xbar %s:", x.name.c_str()), std::for_each(x.pins.begin(), x.pins.end(), pin), std::printf("\n");
    }

    std::deque<FakePin> pins;  // every pin of the world, its dangling ones too
    std::deque<FakeFilter> filters;
    std::deque<FakeCrossbar> crossbars;
    std::deque<ClassObject> classes;

    FakePin& Pin(const std::string& name, PIN_DIRECTION direction, const GUID& category = GUID_NULL) {
        return pins.emplace_back(name, direction, category);
    }
    // One of the world's signal sources for an input, or none: a crossbar's output, or a
    // pin of no filter.
    IPin* Source(int percent) {
        if (!random.Chance(percent * 10)) return nullptr;
        if (crossbars.empty() || random.Chance(150)) return &Pin("dangling", PINDIR_OUTPUT);
        return &crossbars[random.Below(static_cast<int>(crossbars.size()))].Output();
    }
    // Links upstream are the program's alone: the platform's own search for the capture
    // interfaces goes round crossbars wired in a loop for ever, and takes every pin to have
    // a filter.
    static void Link(FakePin& input, IPin* source) {
        input.peer = source, input.programOnly = true;
        if (auto* output = static_cast<FakePin*>(source); source && !output->peer) output->peer = &input, output->programOnly = true;
    }

    World() {
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
                if (pin.direction == PINDIR_INPUT) Link(pin, Source(40));
                if (random.Chance(80)) pin.direction = PIN_DIRECTION(1 - pin.direction);
            }
        for (int d = 0; d < 3; ++d) {
            FakeFilter& filter = filters.emplace_back("device" + std::to_string(d));
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
                FakePin& in = Pin(name + ".down.in", PINDIR_INPUT);
                FakeFilter& down = filters.emplace_back(name + ".down", in);
                output.peer = &in, in.peer = &output;
                if (random.Chance(500)) {
                    FakePin &back = filter.AddPin(Pin(name + ".back", PINDIR_INPUT)), &side = down.AddPin(Pin(name + ".down.side", PINDIR_INPUT));
                    side.peer = &back, back.peer = &side;
                    side.programOnly = back.programOnly = true;
                }
            }
            if (random.Chance(300)) filter.AddPin(Pin(name + ".vbi", PINDIR_OUTPUT, PIN_CATEGORY_VBI));
            if (random.Chance(200)) filter.AddPin(Pin(name + ".cc", PINDIR_OUTPUT, PIN_CATEGORY_CC));
            for (int a = 1 + random.Below(2); a > 0; --a)
                Link(filter.AddPin(Pin(name + ".analog", PINDIR_INPUT, PIN_CATEGORY_ANALOGVIDEOIN)), Source(70));
            if (random.Chance(200)) filter.AddPin(Pin(name + ".in", PINDIR_INPUT));
            filter.pages.assign(random.Below(4), somePage);
            classes.emplace_back(deviceClass[d], static_cast<IBaseFilter*>(&filter));
        }
    }
};

}  // namespace hostile
