// The required floor for the launch benchmark: the work every launch of Navolet has to
// do, done with plain calls. A hidden window answers the same tray double-click: it hides
// itself, reads the three profile keys, finds the camera by its friendly name, creates
// the capture graph builder and a filter graph (CLSID_FilterGraph), gives the graph to
// the builder, adds the capture filter under its friendly name, looks up the capture
// interfaces and the analog input, VBI and closed-caption pins, shows the property frame
// and tears it all down again. Exit: WM_CLOSE. With NAVOLET_TIMING_FILE set it leaves
// every launch mark there (bench/LaunchMarks.h). Built once more with Navolet's manifest
// (BenchRequiredManifest, "Navolet-Required+manifest").
#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <ksmedia.h>
#include <olectl.h>

#include "FloorWindow.h"
#include "LaunchMarks.h"

namespace {

LONGLONG marks[MarkCount];

#ifndef FLOOR_TITLE
#define FLOOR_TITLE "Navolet-Required"
#endif
const char windowTitle[] = FLOOR_TITLE;
const char cameraName[] = "Quendal KVX410RB PC Camera";
const char section[] = "velta";

template <class T>
void Release(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

template <class T>
void** Out(T** p) { return reinterpret_cast<void**>(p); }

// The friendly name compared as Navolet compares it: the narrow name converted anew for
// each candidate, VarBstrCmp without regard to case.
bool IsCamera(IMoniker* moniker) {
    IPropertyBag* bag = nullptr;
    if (moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, Out(&bag)) != S_OK) return false;
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = nullptr;
    bool match = false;
    if (bag->Read(L"FriendlyName", &name, nullptr) == S_OK && name.vt == VT_BSTR) {
        int n = MultiByteToWideChar(CP_THREAD_ACP, 0, cameraName, -1, nullptr, 0);
        BSTR wanted = SysAllocStringLen(nullptr, n - 1);
        MultiByteToWideChar(CP_THREAD_ACP, 0, cameraName, -1, wanted, n);
        match = VarBstrCmp(name.bstrVal, wanted, LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE) == VARCMP_EQ;
        SysFreeString(wanted);
    }
    VariantClear(&name);
    bag->Release();
    return match;
}

IMoniker* FindCamera() {
    ICreateDevEnum* devices = nullptr;
    IEnumMoniker* monikers = nullptr;
    IMoniker* camera = nullptr;
    CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, Out(&devices));
    if (devices) devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    if (monikers) {
        monikers->Reset();
        IMoniker* moniker = nullptr;
        while (!camera && monikers->Next(1, &moniker, nullptr) == S_OK) {
            if (IsCamera(moniker)) camera = moniker;
            else moniker->Release();
        }
        monikers->Release();
    }
    Release(devices);
    return camera;
}

void ReadFriendlyName(IMoniker* moniker, WCHAR (&name)[256]) {
    name[0] = L'\0';
    IPropertyBag* bag = nullptr;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, Out(&bag)))) return;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = nullptr;
    if (bag->Read(L"FriendlyName", &value, nullptr) == S_OK && value.vt == VT_BSTR)
        lstrcpynW(name, value.bstrVal, 256);
    VariantClear(&value);
    bag->Release();
}

// The capture graph and what is looked up in it; released in Navolet's order.
struct CaptureGraph {
    IGraphBuilder* graph = nullptr;
    ICaptureGraphBuilder2* builder = nullptr;
    IBaseFilter* filter = nullptr;
    IAMStreamConfig* streamConfig = nullptr;
    IAMVideoCompression* compression = nullptr;
    IAMVfwCaptureDialogs* dialogs = nullptr;
    ~CaptureGraph() {
        Release(graph);
        Release(builder);
        Release(filter);
        Release(streamConfig);
        Release(compression);
        Release(dialogs);
    }
};

void FindCaptureInterface(CaptureGraph& g, REFIID iid, void** out) {
    if (g.builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, g.filter, iid, out) != S_OK)
        g.builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, g.filter, iid, out);
}

// The input pins' categories: an analog video input would bring the crossbar routes.
void ScanInputPins(IBaseFilter* filter) {
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)) || !pins) return;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_INFO info = {};
        if (pin->QueryPinInfo(&info) == S_OK) {
            IKsPropertySet* properties = nullptr;
            if (info.dir == PINDIR_INPUT && pin->QueryInterface(IID_IKsPropertySet, Out(&properties)) == S_OK) {
                GUID category = GUID_NULL;
                DWORD returned = 0;
                properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof category,
                                &returned);
                properties->Release();
            }
            Release(info.pFilter);
        }
        pin->Release();
    }
    pins->Release();
}

void InitCapture(CaptureGraph& g) {
    FindCaptureInterface(g, IID_IAMVideoCompression, Out(&g.compression));
    FindCaptureInterface(g, IID_IAMStreamConfig, Out(&g.streamConfig));
    AM_MEDIA_TYPE* format = nullptr;
    if (g.streamConfig && g.streamConfig->GetFormat(&format) == S_OK) {
        if (format->cbFormat) CoTaskMemFree(format->pbFormat);
        if (format->pUnk) format->pUnk->Release();
        CoTaskMemFree(format);
    }
    g.builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, g.filter, IID_IAMVfwCaptureDialogs,
                             Out(&g.dialogs));
    ScanInputPins(g.filter);
    IPin* pin = nullptr;
    if (g.builder->FindPin(g.filter, PINDIR_OUTPUT, &PIN_CATEGORY_VBI, nullptr, FALSE, 0, &pin) == S_OK ||
        g.builder->FindPin(g.filter, PINDIR_OUTPUT, &PIN_CATEGORY_CC, nullptr, FALSE, 0, &pin) == S_OK)
        pin->Release();
}

// Nothing is connected downstream of the capture filter, but a teardown has to look.
void LookDownstream(IBaseFilter* filter) {
    IEnumPins* pins = nullptr;
    if (filter->EnumPins(&pins) != S_OK) return;
    pins->Reset();
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        IPin* peer = nullptr;
        pin->ConnectedTo(&peer);
        Release(peer);
        pin->Release();
    }
    pins->Release();
}

void LaunchPages(HWND window) {
    IsIconic(window);
    ShowWindow(window, SW_HIDE);
    marks[Profile] = CounterNow();
    char captureFile[260], videoDevice[1024], audioDevice[1024];
    GetProfileStringA(section, "CaptureFile", "", captureFile, sizeof captureFile);
    GetProfileStringA(section, "VideoDevice2", "", videoDevice, sizeof videoDevice);
    GetProfileStringA(section, "AudioDevice2", "", audioDevice, sizeof audioDevice);

    marks[Devices] = CounterNow();
    IMoniker* camera = FindCamera();
    if (!camera) return;
    CaptureGraph g;
    marks[Builder] = CounterNow();
    CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_ALL, IID_ICaptureGraphBuilder2, Out(&g.builder));
    marks[BuilderDone] = CounterNow();
    WCHAR name[256];
    ReadFriendlyName(camera, name);
    camera->BindToObject(nullptr, nullptr, IID_IBaseFilter, Out(&g.filter));
    marks[Graph] = CounterNow();
    if (g.filter)
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IGraphBuilder,
                         Out(&g.graph));
    marks[GraphDone] = CounterNow();
    if (g.builder && g.graph && g.builder->SetFiltergraph(g.graph) == S_OK && g.graph->AddFilter(g.filter, name) == S_OK) {
        InitCapture(g);
        ShowFrame(window, g.filter, marks);
        LookDownstream(g.filter);
    }
    camera->Release();
}

void OnLaunch(HWND hwnd) {
    for (LONGLONG& m : marks) m = 0;
    marks[Launch] = CounterNow();
    LaunchPages(hwnd);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunLaunchFloor<OnLaunch>(instance, "NavoletRequired", windowTitle);
}
