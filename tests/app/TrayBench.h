#pragma once
// A tray dialog on a pretend window, with every platform call it makes recorded in a
// journal in the order made.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/TrayDialog.h"
#include "doubles/SeamOverride.h"

// What the fakes answer, and what they saw.
struct ShellWorld {
    std::vector<std::string> journal;
    HMENU loadedMenu;
    HMENU systemMenu;
    BOOL notifyResult = TRUE;
    BOOL iconic = FALSE;
    int iconWidth = 32, iconHeight = 32;
    RECT client = {0, 0, 0, 0};
    std::map<UINT, std::string> strings;
};
extern ShellWorld* world;

extern const HWND fakeWindow;
extern const HMENU fakeTrayMenu, fakePopup, fakeSystemMenu;
extern const HICON fakeIcon;
extern const HDC fakePaintDC;
extern const WNDPROC fakeSuper;

#define SEAM(name) SeamOverride<decltype(platform::name)> name##Seam
struct ShellSeams {
    ShellSeams();
    SEAM(Shell_NotifyIconA); SEAM(MessageBoxA); SEAM(TrackPopupMenu); SEAM(SetMenuDefaultItem);
    SEAM(GetSubMenu); SEAM(LoadMenuA); SEAM(DestroyMenu); SEAM(GetSystemMenu); SEAM(AppendMenuA);
    SEAM(LoadIconA); SEAM(GetCursorPos); SEAM(SetForegroundWindow); SEAM(SendMessageA);
    SEAM(PostMessageA); SEAM(ShowWindow); SEAM(IsIconic); SEAM(GetSystemMetrics); SEAM(GetClientRect);
    SEAM(DrawIcon); SEAM(DialogBoxParamA); SEAM(EndDialog);
    SEAM(CallWindowProcA); SEAM(SetWindowLongA); SEAM(BeginPaint); SEAM(EndPaint); SEAM(LoadStringA);
};
#undef SEAM

class TrayBench : public ::testing::Test {
protected:
    TrayBench();
    // Handles the message as the window procedure would, with the journal emptied first.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Runs OnInitDialog, then empties the journal.
    void Start();

    ShellWorld shell;
    ShellSeams seams;
    CWinApp app{"TestApp"};
    TrayDialog dialog;
};
