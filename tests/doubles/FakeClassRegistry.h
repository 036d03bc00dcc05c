#pragma once
// Stands in for the class registry behind platform::CoCreateInstance while alive: each
// registered CLSID answers with a test's object or a failure; every other CLSID fails
// with REGDB_E_CLASSNOTREG. Every call is recorded.
#include "doubles/ComDouble.h"
#include <algorithm>
#include <functional>

namespace doubles {

struct CreateCall {
    CLSID clsid;
    IUnknown* outer;
    DWORD context;
    IID iid;
};

class FakeClassRegistry {
public:
    FakeClassRegistry() : seam(platform::CoCreateInstance, &Create) { current = this; }
    ~FakeClassRegistry() { current = nullptr; }
    // Creation hands out object (QueryInterface for the asked interface).
    void Register(REFCLSID clsid, IUnknown* object) {
        entries.insert(entries.begin(), {clsid, [object](REFIID iid, void** out) { return object->QueryInterface(iid, out); }});
    }
    // Creation fails with result and hands out null.
    void Fail(REFCLSID clsid, HRESULT result) {
        entries.insert(entries.begin(), {clsid, [result](REFIID, void**) { return result; }});
    }
    int CallsFor(REFCLSID clsid) const {
        return std::count_if(calls.begin(), calls.end(), [&](const CreateCall& c) { return c.clsid == clsid; });
    }

    std::vector<CreateCall> calls;

private:
    // The latest entry for a class wins.
    static HRESULT WINAPI Create(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
        *out = nullptr;
        current->calls.push_back({clsid, outer, context, iid});
        for (auto& e : current->entries)
            if (e.first == clsid) return e.second(iid, out);
        return REGDB_E_CLASSNOTREG;
    }
    static inline FakeClassRegistry* current = nullptr;
    std::vector<std::pair<CLSID, std::function<HRESULT(REFIID, void**)>>> entries;
    SeamOverride<decltype(platform::CoCreateInstance)> seam;
};

}  // namespace doubles
