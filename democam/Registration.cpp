// Self-registration: the two classes, and the filter as a video input device.
// NAVOLET_DEMOCAM_NAME, when set, replaces the friendly name (tests register the
// device under another name with it).
#include "democam/DemoCam.h"

namespace {
const wchar_t defaultName[] = L"Quendal KVX410RB PC Camera";

void ClassKeyPath(REFCLSID clsid, wchar_t* path, int size) {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    wsprintfW(path, L"CLSID\\%s", text);
    (void)size;
}

HRESULT RegisterClass(REFCLSID clsid, const wchar_t* description) {
    wchar_t path[80], inproc[120], file[MAX_PATH];
    ClassKeyPath(clsid, path, 80);
    wsprintfW(inproc, L"%s\\InprocServer32", path);
    GetModuleFileNameW(demoModule, file, MAX_PATH);
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(description),
                   static_cast<DWORD>((lstrlenW(description) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, inproc, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(file),
                   static_cast<DWORD>((lstrlenW(file) + 1) * sizeof(wchar_t)));
    const wchar_t model[] = L"Both";
    RegSetValueExW(key, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model),
                   sizeof model);
    RegCloseKey(key);
    return S_OK;
}

void UnregisterClass(REFCLSID clsid) {
    wchar_t path[80], inproc[120];
    ClassKeyPath(clsid, path, 80);
    wsprintfW(inproc, L"%s\\InprocServer32", path);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, inproc);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path);
}

HRESULT WithMapper(HRESULT (*use)(IFilterMapper2*)) {
    CoInitialize(nullptr);
    IFilterMapper2* mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, reinterpret_cast<void**>(&mapper));
    if (SUCCEEDED(hr)) {
        hr = use(mapper);
        mapper->Release();
    }
    CoUninitialize();
    return hr;
}

HRESULT RegisterDevice(IFilterMapper2* mapper) {
    wchar_t name[256];
    DWORD length = GetEnvironmentVariableW(L"NAVOLET_DEMOCAM_NAME", name, 256);
    if (length == 0 || length >= 256) lstrcpyW(name, defaultName);

    REGPINTYPES type = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};
    REGFILTERPINS2 pin = {};
    pin.dwFlags = REG_PINFLAG_B_OUTPUT;
    pin.cInstances = 1;
    pin.nMediaTypes = 1;
    pin.lpMediaType = &type;
    pin.clsPinCategory = &PIN_CATEGORY_CAPTURE;
    REGFILTER2 filter = {};
    filter.dwVersion = 2;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins2 = 1;
    filter.rgPins2 = &pin;
    return mapper->RegisterFilter(CLSID_DemoCamFilter, name, nullptr,
                                  &CLSID_VideoInputDeviceCategory, nullptr, &filter);
}

HRESULT UnregisterDevice(IFilterMapper2* mapper) {
    return mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, nullptr,
                                    CLSID_DemoCamFilter);
}
}  // namespace

STDAPI DllRegisterServer() {
    HRESULT hr = RegisterClass(CLSID_DemoCamFilter, L"Navolet demo camera");
    if (SUCCEEDED(hr)) hr = RegisterClass(CLSID_DemoCamPage, L"Navolet demo camera settings");
    if (SUCCEEDED(hr)) hr = WithMapper(RegisterDevice);
    return hr;
}

STDAPI DllUnregisterServer() {
    WithMapper(UnregisterDevice);
    UnregisterClass(CLSID_DemoCamPage);
    UnregisterClass(CLSID_DemoCamFilter);
    return S_OK;
}
