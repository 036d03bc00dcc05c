#pragma once
// The demo camera: a video capture device with a capture filter and a settings page,
// registered under the camera's name so the tray applet finds it.
#include <new>
#include <winsock2.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <dshow.h>
#include <strmif.h>
#include <ks.h>
#include <ksmedia.h>
#include <ksproxy.h>

// {36FD1CB2-3250-4F3F-B2B3-6DD07596302E}
extern const GUID CLSID_DemoCamFilter;
// {BD79EAD0-1BC5-461D-B172-707A2868ADB6}
extern const GUID CLSID_DemoCamPage;

extern HMODULE demoModule;

// Outstanding objects and server locks; DllCanUnloadNow answers from it.
void ModuleLock();
void ModuleUnlock();
LONG ModuleLockCount();

// Live capture filters of this process, mirrored to
// HKCU\Software\Navolet\DemoCam "LiveFilters" so a test outside the process can see them.
void FilterBorn();
void FilterDied();

// The device's picture settings: they live as long as the process, like a driver's.
enum DemoSetting { SettingBrightness, SettingContrast, SettingSaturation, SettingCount };
struct SettingRange { long min, max, step, defaultValue; };
const SettingRange& SettingRangeOf(int setting);
long GetDeviceSetting(int setting);
void SetDeviceSetting(int setting, long value);

// IUnknown for a heap object with one interface besides IUnknown; it deletes itself
// with its last reference.
template <class Interface, const IID& interfaceId>
class SingleInterface : public Interface {
public:
    virtual ~SingleInterface() = default;
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == interfaceId) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = InterlockedDecrement(&refs);
        if (left == 0) delete this;
        return left;
    }

private:
    LONG refs = 1;
};

HRESULT CreateDemoFilter(REFIID iid, void** object);
HRESULT CreateDemoPage(REFIID iid, void** object);
