#pragma once
// Stands in for the class registry behind platform::CoCreateInstance while alive: each
// registered CLSID answers with a test's object or a failure; every other CLSID fails
// with REGDB_E_CLASSNOTREG. Every call is recorded.
#include "doubles/ComDouble.h"
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
    FakeClassRegistry();
    ~FakeClassRegistry();
    // Creation hands out object (QueryInterface for the asked interface).
    void Register(REFCLSID clsid, IUnknown* object);
    // Creation fails with result and hands out null.
    void Fail(REFCLSID clsid, HRESULT result);
    int CallsFor(REFCLSID clsid) const;

    std::vector<CreateCall> calls;

private:
    static HRESULT WINAPI Create(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out);
    std::vector<std::pair<CLSID, std::function<HRESULT(REFIID, void**)>>> entries;
    SeamOverride<decltype(platform::CoCreateInstance)> seam;
};

}  // namespace doubles
