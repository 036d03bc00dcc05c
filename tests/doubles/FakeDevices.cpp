#include "doubles/FakeDevices.h"

namespace doubles {

FakePropertyBag::FakePropertyBag(std::string name, std::wstring friendlyName, Journal* journal)
    : Double(std::move(name), journal) {
    if (!friendlyName.empty()) strings[L"FriendlyName"] = friendlyName;
}

HRESULT FakePropertyBag::Read(LPCOLESTR property, VARIANT* value, IErrorLog*) {
    Log("Read(" + Narrow(property) + ")");
    if (FAILED(readResult)) return readResult;
    auto it = strings.find(property);
    if (it == strings.end()) return E_INVALIDARG;
    VariantInit(value);
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(it->second.c_str());
    return value->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT FakeMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** out) {
    *out = nullptr;
    Log("BindToObject");
    if (FAILED(bindToObjectResult)) return bindToObjectResult;
    return object ? object->QueryInterface(iid, out) : E_FAIL;
}

HRESULT FakeMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** out) {
    *out = nullptr;
    Log("BindToStorage");
    if (FAILED(bindToStorageResult)) return bindToStorageResult;
    return bag ? bag->QueryInterface(iid, out) : E_FAIL;
}

void FakeDeviceEnum::Add(REFCLSID category, IMoniker* moniker) {
    for (auto& c : categories)
        if (c.first == category) return c.second.push_back(moniker);
    categories.push_back({category, {moniker}});
}

HRESULT FakeDeviceEnum::CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD) {
    *out = nullptr;
    Log("CreateClassEnumerator");
    for (auto& c : categories)
        if (c.first == category && !c.second.empty())
            return *out = new FakeEnumMoniker(name + ".monikers", journal, static_cast<ICreateDevEnum*>(this),
                                              c.second), S_OK;
    return S_FALSE;
}

}  // namespace doubles
