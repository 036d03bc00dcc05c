// The floor for the launch benchmark: a hidden window that answers the same tray
// double-click as Navolet by opening the camera's property frame with the fewest calls
// the platform allows (device enumerator, first moniker with the name, BindToObject,
// GetPages, OleCreatePropertyFrame). Exit: WM_CLOSE to the window. With
// NAVOLET_TIMING_FILE set it leaves its launch marks there for BenchDriver's "phases".
#include <windows.h>
#include <dshow.h>
#include <olectl.h>

#include "FloorWindow.h"
#include "LaunchMarks.h"

namespace {

LONGLONG marks[MarkCount];

const char windowTitle[] = "Navolet-Floor";
const wchar_t cameraName[] = L"Quendal KVX410RB PC Camera";

IBaseFilter* BindCamera() {
    ICreateDevEnum* devices = nullptr;
    IEnumMoniker* monikers = nullptr;
    IBaseFilter* filter = nullptr;
    marks[Devices] = CounterNow();
    CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                     reinterpret_cast<void**>(&devices));
    if (devices && devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) == S_OK) {
        IMoniker* moniker = nullptr;
        while (!filter && monikers->Next(1, &moniker, nullptr) == S_OK) {
            IPropertyBag* bag = nullptr;
            if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
                VARIANT name;
                VariantInit(&name);
                if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR &&
                    lstrcmpiW(name.bstrVal, cameraName) == 0)
                    moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
                VariantClear(&name);
                bag->Release();
            }
            moniker->Release();
        }
        monikers->Release();
    }
    if (devices) devices->Release();
    return filter;
}

void ShowPages(HWND owner) {
    IBaseFilter* filter = BindCamera();
    if (!filter) return;
    ShowFrame(owner, filter, marks);
    filter->Release();
}

void OnLaunch(HWND hwnd) {
    marks[Launch] = CounterNow();
    ShowPages(hwnd);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunLaunchFloor<OnLaunch>(instance, "NavoletFloor", windowTitle);
}
