#include "doubles/FakeClassRegistry.h"
#include <algorithm>

namespace doubles {
namespace {
FakeClassRegistry* current = nullptr;
}

FakeClassRegistry::FakeClassRegistry() : seam(platform::CoCreateInstance, &Create) { current = this; }

FakeClassRegistry::~FakeClassRegistry() { current = nullptr; }

void FakeClassRegistry::Register(REFCLSID clsid, IUnknown* object) {
    entries.insert(entries.begin(), {clsid, [object](REFIID iid, void** out) { return object->QueryInterface(iid, out); }});
}

void FakeClassRegistry::Fail(REFCLSID clsid, HRESULT result) {
    entries.insert(entries.begin(), {clsid, [result](REFIID, void**) { return result; }});
}

int FakeClassRegistry::CallsFor(REFCLSID clsid) const {
    return std::count_if(calls.begin(), calls.end(), [&](const CreateCall& c) { return c.clsid == clsid; });
}

// The latest entry for a class wins.
HRESULT WINAPI FakeClassRegistry::Create(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
    *out = nullptr;
    current->calls.push_back({clsid, outer, context, iid});
    for (auto& e : current->entries)
        if (e.first == clsid) return e.second(iid, out);
    return REGDB_E_CLASSNOTREG;
}

}  // namespace doubles
