// The tray window: start-up, the icon's notifications, the way out, painting and the
// system menu's About entry, each checked against the journal of platform calls.
#include "TrayBench.h"

using Journal = std::vector<std::string>;
using TrayDialogTest = TrayBench;

namespace {
const Journal popup = {"GetCursorPos", "SetForegroundWindow(00001000)", "SetMenuDefaultItem(00002100 0 1)",
                       "TrackPopupMenu(00002100 0x22 300 400 00001000 00000000)"};
const Journal launch = {"ShowWindow(00001000 0)", "Default(00005000 00001000 0xf 0x0 0x0)"};
const char addIcon[] = "Shell_NotifyIcon(ADD size=488 hwnd=00001000 id=1 flags=7 msg=0x464 icon=00003000 "
                       "tip=Quendal Camera Property)";
}  // namespace

TEST_F(TrayDialogTest, StartUpReportsAMissingMenuAndARefusedIconAndGoesOn) {
    for (bool fails : {false, true}) {
        TrayDialog fresh;
        fresh.m_hWnd = fakeWindow;
        shell.journal.clear();
        shell.loadedMenu = fails ? nullptr : fakeTrayMenu;
        shell.notifyResult = !fails;
        EXPECT_TRUE(fresh.OnInitDialog());
        Journal expected = {"GetSystemMenu(0)", "AppendMenu(00002200 0x800 0 -)",
                            "AppendMenu(00002200 0x0 16 &About Navolet...)", "SendMessage(00001000 0x80 0x1 0x3000)",
                            "SendMessage(00001000 0x80 0x0 0x3000)", "LoadMenu(129)"};
        if (fails) expected.push_back("MessageBox(00001000 Unabled to Load menu|TestApp|0)");
        expected.push_back(addIcon);
        if (fails) expected.push_back("MessageBox(00001000 Unable to Set Tary Icon|TestApp|0)");
        EXPECT_EQ(shell.journal, expected);
        EXPECT_EQ(fresh.showState, 1) << "start-up went on to the end";
        fresh.trayMenu.Detach();
        fresh.m_hWnd = nullptr;
    }
}

TEST_F(TrayDialogTest, OnlyOurIconsMenuAndDoubleClickNotificationsAreHandled) {
    struct Case {
        WPARAM id;
        LPARAM mouse;
        Journal expected;
    } cases[] = {
        {1, WM_RBUTTONDOWN, popup}, {1, WM_CONTEXTMENU, popup}, {1, WM_LBUTTONDBLCLK, launch},
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

TEST_F(TrayDialogTest, ExitDeletesTheIconBeforeTheCloseIsPostedAndOnlyOnce) {
    Start();
    Send(WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_EQ(shell.journal, (Journal{"Shell_NotifyIcon(DELETE id=1)", "PostMessage(00001000 0x10 0x0 0x0)"}));
    Send(WM_DESTROY);
    EXPECT_EQ(shell.journal, Journal{"Default(00005000 00001000 0x2 0x0 0x0)"});
}

TEST_F(TrayDialogTest, FirstPaintHidesTheWindowAndAMinimisedOneCentresTheIcon) {
    Start();
    Send(WM_PAINT);
    EXPECT_EQ(shell.journal, launch);
    shell.iconic = TRUE;
    struct Case {
        int width, height, x, y;
    } cases[] = {{36, 30, 2, 0}, {30, 36, 0, 2}};  // truncated toward zero
    for (const Case& c : cases) {
        shell.client = {0, 0, c.width, c.height};
        Send(WM_PAINT);
        char draw[64];
        std::snprintf(draw, sizeof draw, "DrawIcon(00004000 %d %d 00003000)", c.x, c.y);
        EXPECT_EQ(shell.journal, (Journal{"BeginPaint(00001000)", "SendMessage(00001000 0x27 0x4000 0x0)", draw,
                                          "EndPaint(00001000)"}));
    }
}

TEST_F(TrayDialogTest, AboutBoxForSixteenToThirtyOneDefaultForTheRest) {
    Start();
    struct Case {
        UINT id;
        bool about;
    } cases[] = {{16, true}, {24, true}, {31, true}, {0xFFFF001F, true}, {SC_MOVE, false}, {SC_CLOSE, false},
                 {15, false}, {32, false}};
    for (const Case& c : cases) {
        Send(WM_SYSCOMMAND, c.id, 0x00050006);
        char call[80];
        std::snprintf(call, sizeof call, "Default(00005000 00001000 0x112 0x%x 0x50006)", c.id);
        EXPECT_EQ(shell.journal, Journal{c.about ? "DialogBox(100 owner=00001000)" : call}) << std::hex << c.id;
    }
}
