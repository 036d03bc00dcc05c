#include "doubles/FakeDevices.h"
#include "doubles/FakeEnum.h"

namespace doubles {

FakePropertyBag::FakePropertyBag(std::string name, std::wstring friendlyName, Journal* journal)
    : ComDouble(std::move(name), journal) {
    if (!friendlyName.empty()) strings[L"FriendlyName"] = friendlyName;
}

void* FakePropertyBag::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IPropertyBag) return static_cast<IPropertyBag*>(this);
    return nullptr;
}

HRESULT FakePropertyBag::Read(LPCOLESTR property, VARIANT* value, IErrorLog*) {
    if (!property || !value) return E_POINTER;
    Log("Read(" + Narrow(property) + ")");
    if (FAILED(readResult)) return readResult;
    auto it = strings.find(property);
    if (it == strings.end()) return E_INVALIDARG;
    VariantInit(value);
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(it->second.c_str());
    return value->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT FakePropertyBag::Write(LPCOLESTR, VARIANT*) { return E_NOTIMPL; }

FakeMoniker::FakeMoniker(std::string name, IPropertyBag* bag, IUnknown* object, Journal* journal)
    : ComDouble(std::move(name), journal), bag(bag), object(object) {}

void* FakeMoniker::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IPersistStream || iid == IID_IMoniker)
        return static_cast<IMoniker*>(this);
    return nullptr;
}

HRESULT FakeMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Log("BindToObject");
    if (FAILED(bindToObjectResult)) return bindToObjectResult;
    if (!object) return E_FAIL;
    return object->QueryInterface(iid, out);
}

HRESULT FakeMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Log("BindToStorage");
    if (FAILED(bindToStorageResult)) return bindToStorageResult;
    if (!bag) return E_FAIL;
    return bag->QueryInterface(iid, out);
}

HRESULT FakeMoniker::GetClassID(CLSID*) { return E_NOTIMPL; }
HRESULT FakeMoniker::IsDirty() { return S_FALSE; }
HRESULT FakeMoniker::Load(IStream*) { return E_NOTIMPL; }
HRESULT FakeMoniker::Save(IStream*, WINBOOL) { return E_NOTIMPL; }
HRESULT FakeMoniker::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }
HRESULT FakeMoniker::Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**) { return E_NOTIMPL; }
HRESULT FakeMoniker::ComposeWith(IMoniker*, WINBOOL, IMoniker**) { return E_NOTIMPL; }
HRESULT FakeMoniker::Enum(WINBOOL, IEnumMoniker** out) {
    if (out) *out = nullptr;
    return S_OK;
}
HRESULT FakeMoniker::IsEqual(IMoniker* other) { return AsDouble(other) == this ? S_OK : S_FALSE; }
HRESULT FakeMoniker::Hash(DWORD*) { return E_NOTIMPL; }
HRESULT FakeMoniker::IsRunning(IBindCtx*, IMoniker*, IMoniker*) { return S_FALSE; }
HRESULT FakeMoniker::GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) { return E_NOTIMPL; }
HRESULT FakeMoniker::Inverse(IMoniker**) { return E_NOTIMPL; }
HRESULT FakeMoniker::CommonPrefixWith(IMoniker*, IMoniker**) { return E_NOTIMPL; }
HRESULT FakeMoniker::RelativePathTo(IMoniker*, IMoniker**) { return E_NOTIMPL; }
HRESULT FakeMoniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR*) { return E_NOTIMPL; }
HRESULT FakeMoniker::ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker**) { return E_NOTIMPL; }
HRESULT FakeMoniker::IsSystemMoniker(DWORD* kind) {
    if (kind) *kind = MKSYS_NONE;
    return S_FALSE;
}

FakeDeviceEnum::FakeDeviceEnum(std::string name, Journal* journal) : ComDouble(std::move(name), journal) {}

void* FakeDeviceEnum::Native(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_ICreateDevEnum) return static_cast<ICreateDevEnum*>(this);
    return nullptr;
}

void FakeDeviceEnum::Add(REFCLSID category, IMoniker* moniker) {
    for (auto& c : categories)
        if (c.first == category) {
            c.second.push_back(moniker);
            return;
        }
    categories.push_back({category, {moniker}});
}

HRESULT FakeDeviceEnum::CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD) {
    if (!out) return E_POINTER;
    *out = nullptr;
    asked.push_back(category);
    Log("CreateClassEnumerator");
    if (FAILED(result)) return result;
    for (auto& c : categories)
        if (c.first == category && !c.second.empty()) {
            *out = new FakeEnumMoniker(name + ".monikers", journal, static_cast<ICreateDevEnum*>(this), c.second);
            return S_OK;
        }
    return S_FALSE;
}

}  // namespace doubles
