#pragma once
// Stands in for the class registry behind platform::CoCreateInstance while alive. Each
// CLSID answers with a test's object (QueryInterface for the asked interface), with a
// failure, or with the real platform; every other CLSID fails with REGDB_E_CLASSNOTREG.
// Every call is recorded.
#include "doubles/SeamOverride.h"
#include <functional>
#include <vector>

namespace doubles {

struct CreateCall {
    CLSID clsid;
    IUnknown* outer;
    DWORD context;
    IID iid;
};

class FakeClassRegistry {
public:
    FakeClassRegistry();
    ~FakeClassRegistry();
    FakeClassRegistry(const FakeClassRegistry&) = delete;
    FakeClassRegistry& operator=(const FakeClassRegistry&) = delete;

    // Creation hands out object (the same one each time, with a reference).
    void Register(REFCLSID clsid, IUnknown* object);
    // Creation fails with result and hands out null.
    void Fail(REFCLSID clsid, HRESULT result);
    // Creation goes to the real platform.
    void Real(REFCLSID clsid);
    // Creation runs factory (for a fresh object per call).
    void Factory(REFCLSID clsid, std::function<HRESULT(REFIID, void**)> factory);

    std::vector<CreateCall> calls;
    int CallsFor(REFCLSID clsid) const;

    static HRESULT WINAPI Create(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out);

private:
    struct Entry {
        CLSID clsid;
        std::function<HRESULT(REFIID, void**)> make;
    };
    std::vector<Entry> entries;
    SeamOverride<decltype(platform::CoCreateInstance)> seam;
    decltype(platform::CoCreateInstance) real;
};

}  // namespace doubles
