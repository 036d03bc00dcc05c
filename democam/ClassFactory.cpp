// The class objects of the filter and of its settings page, and DllGetClassObject.
#include "democam/DemoCam.h"

namespace {
typedef HRESULT (*Creator)(REFIID, void**);

class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(Creator create) : create(create) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Static objects: their lifetime is the module's.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create(iid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) ModuleLock(); else ModuleUnlock();
        return S_OK;
    }

private:
    Creator create;
};

ClassFactory filterFactory(CreateDemoFilter);
ClassFactory pageFactory(CreateDemoPage);
}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (clsid == CLSID_DemoCamFilter) return filterFactory.QueryInterface(iid, object);
    if (clsid == CLSID_DemoCamPage) return pageFactory.QueryInterface(iid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }
