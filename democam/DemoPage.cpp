// The settings page: three trackbars over the device's brightness, contrast and
// saturation, written to the device through IAMVideoProcAmp as they move (as camera
// pages do: the user watches the picture change). Wine's property frame never calls
// Apply, so the page cannot wait for it.
#include "democam/DemoCam.h"
#include "democam/resource.h"
#include <commctrl.h>

namespace {
struct Slider { long property; int control; int label; };
const Slider sliders[] = {
    {VideoProcAmp_Brightness, IDC_BRIGHTNESS, IDC_BRIGHTNESS_VALUE},
    {VideoProcAmp_Contrast, IDC_CONTRAST, IDC_CONTRAST_VALUE},
    {VideoProcAmp_Saturation, IDC_SATURATION, IDC_SATURATION_VALUE},
};
const wchar_t pageTitle[] = L"Camera Settings";

class DemoPage : public SingleInterface<IPropertyPage, IID_IPropertyPage> {
public:
    DemoPage() { ModuleLock(); }
    virtual ~DemoPage() {
        if (procAmp) procAmp->Release();
        if (site) site->Release();
        ModuleUnlock();
    }


    STDMETHODIMP SetPageSite(IPropertyPageSite* newSite) override {
        if (newSite) newSite->AddRef();
        if (site) site->Release();
        site = newSite;
        return S_OK;
    }

    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL) override {
        if (!rect) return E_POINTER;
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        window = CreateDialogParamW(demoModule, MAKEINTRESOURCEW(IDD_DEMOPAGE), parent,
                                    DialogProc, reinterpret_cast<LPARAM>(this));
        if (!window) return E_FAIL;
        Move(rect);
        Show(SW_SHOW);
        return S_OK;
    }

    STDMETHODIMP Deactivate() override {
        if (window) DestroyWindow(window);
        window = nullptr;
        return S_OK;
    }

    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override {
        if (!info) return E_POINTER;
        LONG base = GetDialogBaseUnits();
        info->cb = sizeof *info;
        info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof pageTitle));
        if (info->pszTitle) lstrcpyW(info->pszTitle, pageTitle);
        info->size.cx = 220 * LOWORD(base) / 4;
        info->size.cy = 96 * HIWORD(base) / 8;
        info->pszDocString = nullptr;
        info->pszHelpFile = nullptr;
        info->dwHelpContext = 0;
        return S_OK;
    }

    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override {
        if (procAmp) procAmp->Release();
        procAmp = nullptr;
        if (count == 0) return S_OK;
        if (!objects || !objects[0]) return E_POINTER;
        return objects[0]->QueryInterface(IID_IAMVideoProcAmp,
                                          reinterpret_cast<void**>(&procAmp));
    }

    STDMETHODIMP Show(UINT command) override {
        if (window) ShowWindow(window, command);
        return S_OK;
    }

    STDMETHODIMP Move(LPCRECT rect) override {
        if (!rect) return E_POINTER;
        if (window)
            MoveWindow(window, rect->left, rect->top, rect->right - rect->left,
                       rect->bottom - rect->top, TRUE);
        return S_OK;
    }

    STDMETHODIMP IsPageDirty() override { return dirty ? S_OK : S_FALSE; }

    STDMETHODIMP Apply() override {
        if (window) Store(window);
        dirty = false;
        return S_OK;
    }

    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            reinterpret_cast<DemoPage*>(lParam)->Load(dialog);
            return TRUE;
        }
        DemoPage* page = reinterpret_cast<DemoPage*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (page && message == WM_HSCROLL) {
            page->Changed(dialog);
            return TRUE;
        }
        return FALSE;
    }

    // Shows what the device holds now.
    void Load(HWND dialog) {
        for (const Slider& s : sliders) {
            long min = 0, max = 255, step = 1, def = 128, flags = 0, value = 128;
            if (procAmp) {
                procAmp->GetRange(s.property, &min, &max, &step, &def, &flags);
                procAmp->Get(s.property, &value, &flags);
            }
            HWND bar = GetDlgItem(dialog, s.control);
            SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELPARAM(min, max));
            SendMessageW(bar, TBM_SETTICFREQ, 32, 0);
            SendMessageW(bar, TBM_SETPOS, TRUE, value);
            ShowValue(dialog, s);
        }
    }

    void Store(HWND dialog) {
        if (!procAmp) return;
        for (const Slider& s : sliders) {
            long value = static_cast<long>(SendDlgItemMessageW(dialog, s.control, TBM_GETPOS, 0, 0));
            procAmp->Set(s.property, value, VideoProcAmp_Flags_Manual);
        }
    }

    void Changed(HWND dialog) {
        for (const Slider& s : sliders) ShowValue(dialog, s);
        Store(dialog);
        if (!dirty && site) site->OnStatusChange(PROPPAGESTATUS_DIRTY);
        dirty = true;
    }

    static void ShowValue(HWND dialog, const Slider& s) {
        SetDlgItemInt(dialog, s.label,
                      static_cast<UINT>(SendDlgItemMessageW(dialog, s.control, TBM_GETPOS, 0, 0)),
                      FALSE);
    }

    IPropertyPageSite* site = nullptr;
    IAMVideoProcAmp* procAmp = nullptr;
    HWND window = nullptr;
    bool dirty = false;
};
}  // namespace

HRESULT CreateDemoPage(REFIID iid, void** object) {
    DemoPage* page = new (std::nothrow) DemoPage;
    if (!page) return E_OUTOFMEMORY;
    HRESULT hr = page->QueryInterface(iid, object);
    page->Release();
    return hr;
}
