// The timing build of Navolet (NavoletTiming.exe): the same program, with the platform
// operations that open each phase of a launch wrapped to read the performance counter.
// After each launch it writes one line of readings to the file named by the environment
// variable NAVOLET_TIMING_FILE (bench/LaunchMarks.h); BenchDriver's "phases" lays them
// beside its own readings of the posted double-click and of the visible frame (the
// counter is the same in every process).
//
// Its start is marked too, for BenchDriver's "startup": the readings go to the file named
// by NAVOLET_START_FILE when the icon is deleted on the way out.
//
// With NAVOLET_TIMING_NOTHREAD set it creates the filter graph as CLSID_FilterGraphNoThread
// instead of CLSID_FilterGraph, which prices the graph manager's worker thread. Navolet
// itself never does that.
#include "app/TrayApp.h"
#include "platform/Seam.h"

#include "LaunchMarks.h"

TrayApp theApp;

namespace {

LONGLONG marks[MarkCount];
LONGLONG lastPaint;
LONGLONG startMarks[StartMarkCount];

decltype(platform::IsIconic) realIsIconic;
decltype(platform::GetProfileStringA) realGetProfileString;
decltype(platform::CoCreateInstance) realCoCreateInstance;
decltype(platform::OleCreatePropertyFrame) realOleCreatePropertyFrame;
decltype(platform::DialogBoxIndirectParamA) realDialogBoxIndirectParam;
decltype(platform::GetSystemMenu) realGetSystemMenu;
decltype(platform::Shell_NotifyIconA) realShell_NotifyIcon;
decltype(platform::CoInitialize) realCoInitialize;
decltype(platform::ShowWindow) realShowWindow;
decltype(platform::SendMessageA) realSendMessage;
decltype(platform::LoadMenuA) realLoadMenu;
decltype(platform::RegisterWindowMessageA) realRegisterWindowMessage;

void Note(Mark mark) { marks[mark] = CounterNow(); }

// A launch starts by painting (hiding) the window, whose first call asks whether it is
// minimised; it is known to be a launch when the capture file is read next.
BOOL WINAPI TimedIsIconic(HWND window) {
    lastPaint = CounterNow();
    return realIsIconic(window);
}

DWORD WINAPI TimedGetProfileString(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR text, DWORD size) {
    if (lstrcmpA(key, "CaptureFile") == 0) {
        for (LONGLONG& m : marks) m = 0;
        marks[Launch] = lastPaint;
        Note(Profile);
    }
    return realGetProfileString(section, key, fallback, text, size);
}

HRESULT WINAPI TimedCoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
    Mark start = MarkCount;
    if (clsid == CLSID_SystemDeviceEnum) start = Devices;
    if (clsid == CLSID_CaptureGraphBuilder2) start = Builder;
    if (clsid == CLSID_FilterGraph) start = Graph;
    if (start != MarkCount) Note(start);
    REFCLSID created = start == Graph && std::getenv("NAVOLET_TIMING_NOTHREAD") ? CLSID_FilterGraphNoThread : clsid;
    HRESULT hr = realCoCreateInstance(created, outer, context, iid, out);
    if (start == Builder || start == Graph) Note(static_cast<Mark>(start + 1));
    return hr;
}

HRESULT WINAPI TimedOleCreatePropertyFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount,
                                           LPUNKNOWN* objects, ULONG pageCount, LPCLSID pages, LCID locale,
                                           DWORD reserved, LPVOID reserved2) {
    Note(Frame);
    HRESULT hr = realOleCreatePropertyFrame(owner, x, y, caption, objectCount, objects, pageCount, pages, locale,
                                            reserved, reserved2);
    WriteMarks(marks);  // after the frame has closed, so in no phase
    return hr;
}

// The start: the first time each of these is called.
void NoteStart(StartMark mark) {
    if (!startMarks[mark]) startMarks[mark] = CounterNow();
}

INT_PTR WINAPI TimedDialogBoxIndirectParam(HINSTANCE module, LPCDLGTEMPLATEA dialog, HWND owner, DLGPROC procedure,
                                           LPARAM parameter) {
    NoteStart(WindowCreate);
    return realDialogBoxIndirectParam(module, dialog, owner, procedure, parameter);
}

HMENU WINAPI TimedGetSystemMenu(HWND window, BOOL revert) {
    NoteStart(WindowMade);
    return realGetSystemMenu(window, revert);
}

LRESULT WINAPI TimedSendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETICON) NoteStart(IconsSet);
    return realSendMessage(window, message, wParam, lParam);
}

HMENU WINAPI TimedLoadMenu(HINSTANCE module, LPCSTR name) {
    NoteStart(MenuLoad);
    return realLoadMenu(module, name);
}

UINT WINAPI TimedRegisterWindowMessage(LPCSTR name) {
    NoteStart(Registered);
    return realRegisterWindowMessage(name);
}

BOOL WINAPI TimedShell_NotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
    if (message == NIM_DELETE) WriteStartMarks(startMarks);
    if (message == NIM_ADD) NoteStart(IconAdd);
    BOOL result = realShell_NotifyIcon(message, data);
    if (message == NIM_ADD) NoteStart(IconAdded);
    return result;
}

HRESULT WINAPI TimedCoInitialize(LPVOID reserved) {
    HRESULT hr = realCoInitialize(reserved);
    NoteStart(ComReady);
    return hr;
}

BOOL WINAPI TimedShowWindow(HWND window, int command) {
    if (command == SW_HIDE) NoteStart(HideCalled);
    BOOL result = realShowWindow(window, command);
    if (command == SW_HIDE) NoteStart(HideDone);
    return result;
}

// The seam's operation goes through timed from now on; real is what it was.
template <class Operation>
void Wrap(Operation& operation, Operation& real, Operation timed) {
    real = operation;
    operation = timed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    startMarks[Entry] = CounterNow();
    Wrap(platform::DialogBoxIndirectParamA, realDialogBoxIndirectParam, &TimedDialogBoxIndirectParam);
    Wrap(platform::GetSystemMenu, realGetSystemMenu, &TimedGetSystemMenu);
    Wrap(platform::SendMessageA, realSendMessage, &TimedSendMessage);
    Wrap(platform::LoadMenuA, realLoadMenu, &TimedLoadMenu);
    Wrap(platform::RegisterWindowMessageA, realRegisterWindowMessage, &TimedRegisterWindowMessage);
    Wrap(platform::Shell_NotifyIconA, realShell_NotifyIcon, &TimedShell_NotifyIcon);
    Wrap(platform::CoInitialize, realCoInitialize, &TimedCoInitialize);
    Wrap(platform::ShowWindow, realShowWindow, &TimedShowWindow);
    Wrap(platform::IsIconic, realIsIconic, &TimedIsIconic);
    Wrap(platform::GetProfileStringA, realGetProfileString, &TimedGetProfileString);
    Wrap(platform::CoCreateInstance, realCoCreateInstance, &TimedCoCreateInstance);
    Wrap(platform::OleCreatePropertyFrame, realOleCreatePropertyFrame, &TimedOleCreatePropertyFrame);
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
