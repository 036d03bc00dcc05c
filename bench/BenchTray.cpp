// The floor for start-up and for the resident cost: the least a tray applet is: a hidden
// window, its icon loaded, the icon added with Shell_NotifyIconA, a message loop. Exit:
// the tray menu's Exit command (WM_COMMAND 32773) or WM_CLOSE, which delete the icon.
// Each DLL named on the command line is loaded first, as an executable's imports are,
// and named in the window's title after a "+": "BenchTray comctl32.dll" is
// "Navolet-Tray+comctl32.dll". That prices what the DLLs Navolet imports cost a start.
// With NAVOLET_START_FILE set it leaves its start marks there on the way out.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "FloorWindow.h"
#include "LaunchMarks.h"

namespace {

const WPARAM exitCommand = 32773;
NOTIFYICONDATAA icon;
LONGLONG marks[StartMarkCount];

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || (message == WM_COMMAND && wParam == exitCommand)) {
        WriteStartMarks(marks);
        Shell_NotifyIconA(NIM_DELETE, &icon);
        DestroyWindow(hwnd);
        return 0;
    }
    return EndOnDestroy(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    marks[Entry] = CounterNow();
    char title[256] = "Navolet-Tray";
    for (char* name = std::strtok(commandLine, " "); name; name = std::strtok(nullptr, " ")) {
        LoadLibraryA(name);
        lstrcatA(title, "+");
        lstrcatA(title, name);
    }
    marks[WindowCreate] = CounterNow();
    HWND window = MakeWindow(instance, "NavoletTray", title, WindowProc);
    marks[WindowMade] = CounterNow();
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_TRAYNOTIFY;
    icon.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(128));
    lstrcpyA(icon.szTip, "Quendal Camera Property");
    marks[IconAdd] = CounterNow();
    Shell_NotifyIconA(NIM_ADD, &icon);
    marks[IconAdded] = CounterNow();
    RunMessages();
    return 0;
}
