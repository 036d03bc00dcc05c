#pragma once
// Device enumeration: the system device enumerator, device monikers and their property bags.
#include "doubles/FakeEnum.h"
#include <map>

namespace doubles {

// String properties handed out as VT_BSTR ("FriendlyName", ...).
class FakePropertyBag : public Double<IPropertyBag> {
public:
    explicit FakePropertyBag(std::string name, std::wstring friendlyName = L"", Journal* journal = nullptr)
        : Double(std::move(name), journal) {
        if (!friendlyName.empty()) strings[L"FriendlyName"] = friendlyName;
    }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog*) override {
        Log("Read(" + Narrow(property) + ")");
        if (FAILED(readResult) || !strings.count(property)) return FAILED(readResult) ? readResult : E_INVALIDARG;
        VariantInit(value);
        value->vt = VT_BSTR;
        return (value->bstrVal = SysAllocString(strings[property].c_str())) ? S_OK : E_OUTOFMEMORY;
    }
    DOUBLE_STUB(Write, (LPCOLESTR, VARIANT*), E_NOTIMPL)

    std::map<std::wstring, std::wstring> strings;
    HRESULT readResult = S_OK;  // a failure here fails every Read
};

// BindToStorage answers with the bag, BindToObject with the object; both journaled.
class FakeMoniker : public Double<IMoniker> {
public:
    explicit FakeMoniker(std::string name, IPropertyBag* bag = nullptr, IUnknown* object = nullptr,
                         Journal* journal = nullptr)
        : Double(std::move(name), journal), bag(bag), object(object) {}
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** out) override {
        return Bind("BindToObject", bindToObjectResult, object, iid, out);
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** out) override {
        return Bind("BindToStorage", bindToStorageResult, bag, iid, out);
    }
    HRESULT STDMETHODCALLTYPE IsEqual(IMoniker* other) override { return AsDouble(other) == this ? S_OK : S_FALSE; }
    // Not used by the program.
    DOUBLE_STUB(GetClassID, (CLSID*), E_NOTIMPL) DOUBLE_STUB(IsDirty, (), S_FALSE) DOUBLE_STUB(Load, (IStream*), E_NOTIMPL)
    DOUBLE_STUB(Save, (IStream*, WINBOOL), E_NOTIMPL) DOUBLE_STUB(GetSizeMax, (ULARGE_INTEGER*), E_NOTIMPL)
    DOUBLE_STUB(Reduce, (IBindCtx*, DWORD, IMoniker**, IMoniker**), E_NOTIMPL) DOUBLE_STUB(Hash, (DWORD*), E_NOTIMPL)
    DOUBLE_STUB(ComposeWith, (IMoniker*, WINBOOL, IMoniker**), E_NOTIMPL) DOUBLE_STUB(Inverse, (IMoniker**), E_NOTIMPL)
    DOUBLE_STUB(Enum, (WINBOOL, IEnumMoniker**), E_NOTIMPL) DOUBLE_STUB(IsRunning, (IBindCtx*, IMoniker*, IMoniker*), S_FALSE)
    DOUBLE_STUB(GetTimeOfLastChange, (IBindCtx*, IMoniker*, FILETIME*), E_NOTIMPL)
    DOUBLE_STUB(CommonPrefixWith, (IMoniker*, IMoniker**), E_NOTIMPL) DOUBLE_STUB(IsSystemMoniker, (DWORD*), E_NOTIMPL)
    DOUBLE_STUB(RelativePathTo, (IMoniker*, IMoniker**), E_NOTIMPL)
    DOUBLE_STUB(GetDisplayName, (IBindCtx*, IMoniker*, LPOLESTR*), E_NOTIMPL)
    DOUBLE_STUB(ParseDisplayName, (IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker**), E_NOTIMPL)

    IPropertyBag* bag;
    IUnknown* object;
    HRESULT bindToStorageResult = S_OK;
    HRESULT bindToObjectResult = S_OK;

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IPersist || iid == IID_IPersistStream ? static_cast<IMoniker*>(this) : Double::Native(iid);
    }
    HRESULT Bind(const char* what, HRESULT result, IUnknown* target, REFIID iid, void** out) {
        Log(what);
        *out = nullptr;
        return FAILED(result) ? result : target ? target->QueryInterface(iid, out) : E_FAIL;
    }
};

// One list of monikers per device category; an empty or unknown category answers
// S_FALSE with no enumerator, as the platform does.
class FakeDeviceEnum : public Double<ICreateDevEnum> {
public:
    explicit FakeDeviceEnum(std::string name = "devenum", Journal* journal = nullptr) : Double(std::move(name), journal) {}
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD) override {
        *out = nullptr;
        Log("CreateClassEnumerator");
        for (auto& c : categories)
            if (c.first == category && !c.second.empty())
                return *out = new FakeEnumMoniker(name + ".monikers", journal, this, c.second), S_OK;
        return S_FALSE;
    }
    void Add(REFCLSID category, IMoniker* moniker) {
        for (auto& c : categories)
            if (c.first == category) return c.second.push_back(moniker);
        categories.push_back({category, {moniker}});
    }

    std::vector<std::pair<CLSID, std::vector<IMoniker*>>> categories;
};

}  // namespace doubles
