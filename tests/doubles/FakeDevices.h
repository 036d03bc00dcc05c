#pragma once
// Device enumeration: the system device enumerator (ICreateDevEnum), device monikers and
// their property bags.
#include "doubles/ComDouble.h"
#include <map>

namespace doubles {

// Property bag with string properties handed out as VT_BSTR ("FriendlyName", ...).
class FakePropertyBag : public ComDouble, public IPropertyBag {
public:
    explicit FakePropertyBag(std::string name, std::wstring friendlyName = L"", Journal* journal = nullptr);
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR property, VARIANT* value) override;

    std::map<std::wstring, std::wstring> strings;
    HRESULT readResult = S_OK;  // a failure here fails every Read

protected:
    void* Native(REFIID iid) override;
};

// A device moniker: BindToStorage answers IPropertyBag with the bag, BindToObject answers
// with the object (usually a FakeFilter). Both journaled; results scriptable.
class FakeMoniker : public ComDouble, public IMoniker {
public:
    explicit FakeMoniker(std::string name, IPropertyBag* bag = nullptr, IUnknown* object = nullptr,
                         Journal* journal = nullptr);
    DOUBLE_IUNKNOWN
    // IPersist, IPersistStream
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, WINBOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    // IMoniker
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* ctx, IMoniker* left, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE Reduce(IBindCtx* ctx, DWORD howFar, IMoniker** left, IMoniker** reduced) override;
    HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker* right, WINBOOL onlyIfNotGeneric, IMoniker** out) override;
    HRESULT STDMETHODCALLTYPE Enum(WINBOOL forward, IEnumMoniker** out) override;
    HRESULT STDMETHODCALLTYPE IsEqual(IMoniker* other) override;
    HRESULT STDMETHODCALLTYPE Hash(DWORD* hash) override;
    HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx* ctx, IMoniker* left, IMoniker* newlyRunning) override;
    HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx* ctx, IMoniker* left, FILETIME* time) override;
    HRESULT STDMETHODCALLTYPE Inverse(IMoniker** out) override;
    HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker* other, IMoniker** prefix) override;
    HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker* other, IMoniker** path) override;
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* ctx, IMoniker* left, LPOLESTR* name) override;
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx* ctx, IMoniker* left, LPOLESTR display, ULONG* eaten,
                                               IMoniker** out) override;
    HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD* kind) override;

    IPropertyBag* bag;
    IUnknown* object;
    HRESULT bindToStorageResult = S_OK;
    HRESULT bindToObjectResult = S_OK;

protected:
    void* Native(REFIID iid) override;
};

// The system device enumerator: one list of monikers per device category. An empty or
// unknown category answers S_FALSE with no enumerator, as the platform does.
class FakeDeviceEnum : public ComDouble, public ICreateDevEnum {
public:
    explicit FakeDeviceEnum(std::string name = "devenum", Journal* journal = nullptr);
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD flags) override;

    void Add(REFCLSID category, IMoniker* moniker);
    std::vector<std::pair<CLSID, std::vector<IMoniker*>>> categories;
    HRESULT result = S_OK;  // a failure here fails every call
    std::vector<CLSID> asked;

protected:
    void* Native(REFIID iid) override;
};

}  // namespace doubles
