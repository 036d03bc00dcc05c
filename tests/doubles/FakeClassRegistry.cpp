#include "doubles/FakeClassRegistry.h"

namespace doubles {
namespace {
FakeClassRegistry* current = nullptr;
}

FakeClassRegistry::FakeClassRegistry()
    : seam(platform::CoCreateInstance, &FakeClassRegistry::Create), real(&::CoCreateInstance) {
    current = this;
}

FakeClassRegistry::~FakeClassRegistry() { current = nullptr; }

void FakeClassRegistry::Register(REFCLSID clsid, IUnknown* object) {
    Factory(clsid, [object](REFIID iid, void** out) { return object->QueryInterface(iid, out); });
}

void FakeClassRegistry::Fail(REFCLSID clsid, HRESULT result) {
    Factory(clsid, [result](REFIID, void**) { return result; });
}

void FakeClassRegistry::Real(REFCLSID clsid) {
    CLSID id = clsid;
    Factory(clsid, [this, id](REFIID iid, void** out) {
        const CreateCall& call = calls.back();
        return real(id, call.outer, call.context, iid, out);
    });
}

void FakeClassRegistry::Factory(REFCLSID clsid, std::function<HRESULT(REFIID, void**)> factory) {
    for (auto& e : entries)
        if (e.clsid == clsid) {
            e.make = std::move(factory);
            return;
        }
    entries.push_back({clsid, std::move(factory)});
}

int FakeClassRegistry::CallsFor(REFCLSID clsid) const {
    int n = 0;
    for (const auto& c : calls) n += c.clsid == clsid ? 1 : 0;
    return n;
}

HRESULT WINAPI FakeClassRegistry::Create(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!current) return REGDB_E_CLASSNOTREG;
    current->calls.push_back({clsid, outer, context, iid});
    for (auto& e : current->entries)
        if (e.clsid == clsid) return e.make(iid, out);
    return REGDB_E_CLASSNOTREG;
}

}  // namespace doubles
