#pragma once
// Device enumeration: the system device enumerator, device monikers and their property bags.
#include "doubles/FakeEnum.h"
#include <map>

namespace doubles {

// String properties handed out as VT_BSTR ("FriendlyName", ...).
class FakePropertyBag : public Double<IPropertyBag> {
public:
    explicit FakePropertyBag(std::string name, std::wstring friendlyName = L"", Journal* journal = nullptr);
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

    std::map<std::wstring, std::wstring> strings;
    HRESULT readResult = S_OK;  // a failure here fails every Read
};

// BindToStorage answers with the bag, BindToObject with the object; both journaled.
class FakeMoniker : public Double<IMoniker> {
public:
    explicit FakeMoniker(std::string name, IPropertyBag* bag = nullptr, IUnknown* object = nullptr,
                         Journal* journal = nullptr)
        : Double(std::move(name), journal), bag(bag), object(object) {}
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE IsEqual(IMoniker* other) override { return AsDouble(other) == this ? S_OK : S_FALSE; }
    // Nothing else is used.
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker*, WINBOOL, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Enum(WINBOOL, IEnumMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Hash(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx*, IMoniker*, IMoniker*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Inverse(IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD*) override { return E_NOTIMPL; }

    IPropertyBag* bag;
    IUnknown* object;
    HRESULT bindToStorageResult = S_OK;
    HRESULT bindToObjectResult = S_OK;

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IPersist || iid == IID_IPersistStream ? static_cast<IMoniker*>(this) : Double::Native(iid);
    }
};

// One list of monikers per device category; an empty or unknown category answers
// S_FALSE with no enumerator, as the platform does.
class FakeDeviceEnum : public Double<ICreateDevEnum> {
public:
    explicit FakeDeviceEnum(std::string name = "devenum", Journal* journal = nullptr) : Double(std::move(name), journal) {}
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD flags) override;
    void Add(REFCLSID category, IMoniker* moniker);

    std::vector<std::pair<CLSID, std::vector<IMoniker*>>> categories;
};

}  // namespace doubles
