// Module bookkeeping, liveness mirror and the device's settings.
#include "democam/DemoCam.h"

HMODULE demoModule;
const GUID CLSID_DemoCamFilter = {0x36fd1cb2, 0x3250, 0x4f3f, {0xb2, 0xb3, 0x6d, 0xd0, 0x75, 0x96, 0x30, 0x2e}};
const GUID CLSID_DemoCamPage = {0xbd79ead0, 0x1bc5, 0x461d, {0xb1, 0x72, 0x70, 0x7a, 0x28, 0x68, 0xad, 0xb6}};

namespace {
LONG lockCount;
LONG liveFilters;

const SettingRange ranges[SettingCount] = {
    {0, 255, 1, 128},  // brightness
    {0, 255, 1, 128},  // contrast
    {0, 255, 1, 128},  // saturation
};
long settings[SettingCount] = {128, 128, 128};

void MirrorLiveFilters(LONG count) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Navolet\\DemoCam", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD value = static_cast<DWORD>(count);
    RegSetValueExW(key, L"LiveFilters", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        demoModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

void ModuleLock() { InterlockedIncrement(&lockCount); }
void ModuleUnlock() { InterlockedDecrement(&lockCount); }
LONG ModuleLockCount() { return lockCount; }

void FilterBorn() { MirrorLiveFilters(InterlockedIncrement(&liveFilters)); }
void FilterDied() { MirrorLiveFilters(InterlockedDecrement(&liveFilters)); }

const SettingRange& SettingRangeOf(int setting) { return ranges[setting]; }
long GetDeviceSetting(int setting) { return settings[setting]; }
void SetDeviceSetting(int setting, long value) {
    const SettingRange& r = ranges[setting];
    settings[setting] = value < r.min ? r.min : value > r.max ? r.max : value;
}
