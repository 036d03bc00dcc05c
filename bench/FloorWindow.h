#pragma once
// What the floor programs share: a hidden window of their own and its message loop, and
// for the launch floors the tray double-click that Navolet answers, handed to OnLaunch.
// Exit: WM_CLOSE.
#include <windows.h>
#include <dshow.h>
#include <olectl.h>

#include "LaunchMarks.h"

const UINT WM_TRAYNOTIFY = WM_USER + 100;

inline LRESULT EndOnDestroy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DESTROY) return DefWindowProcA(hwnd, message, wParam, lParam);
    PostQuitMessage(0);
    return 0;
}

inline HWND MakeWindow(HINSTANCE instance, const char* className, const char* title, WNDPROC procedure) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowA(className, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
}

inline void RunMessages() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

template <void (*OnLaunch)(HWND)>
LRESULT CALLBACK LaunchFloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TRAYNOTIFY || wParam != 1 || lParam != WM_LBUTTONDBLCLK)
        return EndOnDestroy(hwnd, message, wParam, lParam);
    OnLaunch(hwnd);
    return 0;
}

// The filter's pages in the property frame, as Navolet shows them; the marks are written
// once the frame has closed, so in no phase.
inline void ShowFrame(HWND owner, IBaseFilter* filter, LONGLONG (&marks)[MarkCount]) {
    ISpecifyPropertyPages* pages = nullptr;
    if (filter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages)) != S_OK) return;
    CAUUID list = {0, nullptr};
    if (SUCCEEDED(pages->GetPages(&list))) {
        IUnknown* object = filter;
        marks[Frame] = CounterNow();
        OleCreatePropertyFrame(owner, 30, 30, nullptr, 1, &object, list.cElems, list.pElems, 0, 0, nullptr);
        WriteMarks(marks);
        CoTaskMemFree(list.pElems);
    }
    pages->Release();
}

// A launch floor's whole life, with COM initialised on its thread as Navolet's is.
template <void (*OnLaunch)(HWND)>
int RunLaunchFloor(HINSTANCE instance, const char* className, const char* title) {
    CoInitialize(nullptr);
    MakeWindow(instance, className, title, &LaunchFloorProc<OnLaunch>);
    RunMessages();
    CoUninitialize();
    return 0;
}
