// The tray icon's notifications, its popup menu and the way out.
#include "TrayBench.h"

using Journal = std::vector<std::string>;
using TrayCallback = TrayBench;

TEST_F(TrayCallback, DispatchesOnlyOurIconsNotifications) {
    const Journal popup = {"GetCursorPos", "SetForegroundWindow(00001000)", "SetMenuDefaultItem(00002100 0 1)",
                           "TrackPopupMenu(00002100 0x22 300 400 00001000 00000000)"};
    const Journal hide = {"ShowWindow(00001000 0)", "Default(00005000 00001000 0xf 0x0 0x0)"};
    struct Case {
        WPARAM id;
        LPARAM mouse;
        Journal expected;
    } cases[] = {
        {1, WM_RBUTTONDOWN, popup}, {1, WM_CONTEXTMENU, popup}, {1, WM_LBUTTONDBLCLK, hide},
        {1, WM_LBUTTONDOWN, {}},    {1, WM_LBUTTONUP, {}},      {1, WM_RBUTTONUP, {}},
        {1, WM_MOUSEMOVE, {}},      {2, WM_RBUTTONDOWN, {}},    {0, WM_LBUTTONDBLCLK, {}},
        {1, 0x10204, {}},  // compared as a whole
    };
    Start();
    for (const Case& c : cases) {
        EXPECT_EQ(Send(WM_TRAYNOTIFY, c.id, c.mouse), 0);
        EXPECT_EQ(shell.journal, c.expected) << "id " << c.id << " lParam 0x" << std::hex << c.mouse;
        EXPECT_EQ(dialog.launchBusy, 0);
    }
}

TEST_F(TrayCallback, RightClickDoesNothingWhenTheMenuDidNotLoad) {
    shell.loadedMenu = nullptr;
    Start();
    Send(WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN);
    EXPECT_EQ(shell.journal, Journal{"GetCursorPos"});
}

TEST_F(TrayCallback, LaunchDoesNothingWhileALaunchRuns) {
    Start();
    dialog.launchBusy = 1;
    Send(WM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK);
    Send(WM_COMMAND, ID_TRAY_LAUNCH, 0);
    EXPECT_EQ(shell.journal, Journal{});
    EXPECT_EQ(dialog.launchBusy, 1);
}

TEST_F(TrayCallback, ExitDeletesTheIconBeforeTheCloseIsPostedAndOnlyOnce) {
    Start();
    Send(WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_EQ(shell.journal, (Journal{"Shell_NotifyIcon(DELETE id=1)", "PostMessage(00001000 0x10 0x0 0x0)"}));
    Send(WM_DESTROY);
    EXPECT_EQ(shell.journal, Journal{"Default(00005000 00001000 0x2 0x0 0x0)"});
}

TEST_F(TrayCallback, EndingByCancelDeletesTheIconWhenTheWindowGoes) {
    Start();
    Send(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(shell.journal, Journal{"EndDialog(00001000 2)"});
    Send(WM_DESTROY);
    EXPECT_EQ(shell.journal, (Journal{"Shell_NotifyIcon(DELETE id=1)", "Default(00005000 00001000 0x2 0x0 0x0)"}));
    Send(WM_DESTROY);
    EXPECT_EQ(shell.journal, Journal{"Default(00005000 00001000 0x2 0x0 0x0)"});
}
