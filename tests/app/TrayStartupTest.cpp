// OnInitDialog: the order of start-up, and the two failures that are reported but do
// not stop it.
#include "TrayBench.h"

using Journal = std::vector<std::string>;

namespace {
const char addIcon[] =
    "Shell_NotifyIcon(ADD size=488 hwnd=00001000 id=1 flags=7 msg=0x464 icon=00003000 "
    "tip=Quendal Camera Property)";
const char menuMissing[] = "MessageBox(00001000 Unabled to Load menu|TestApp|0)";
const char iconRefused[] = "MessageBox(00001000 Unable to Set Tary Icon|TestApp|0)";

Journal Startup(Journal menuStep, Journal iconStep) {
    Journal j = {"GetSystemMenu(0)", "AppendMenu(00002200 0x800 0 -)",
                 "AppendMenu(00002200 0x0 16 &About Navolet...)", "SendMessage(00001000 0x80 0x1 0x3000)",
                 "SendMessage(00001000 0x80 0x0 0x3000)"};
    j.insert(j.end(), menuStep.begin(), menuStep.end());
    j.insert(j.end(), iconStep.begin(), iconStep.end());
    j.insert(j.end(), {"InitCommonControls", "CoInitialize(00000000)"});
    return j;
}
}  // namespace

using TrayStartup = TrayBench;

TEST_F(TrayStartup, RunsItsStepsInOrderAndGoesOnAfterEachFailure) {
    struct Case {
        bool menuLoads;
        BOOL iconAdded;
        Journal expected;
    } cases[] = {
        {true, TRUE, Startup({"LoadMenu(129)"}, {addIcon})},
        {false, TRUE, Startup({"LoadMenu(129)", menuMissing}, {addIcon})},
        {true, FALSE, Startup({"LoadMenu(129)"}, {addIcon, iconRefused})},
        {false, FALSE, Startup({"LoadMenu(129)", menuMissing}, {addIcon, iconRefused})},
    };
    for (const Case& c : cases) {
        TrayDialog fresh;
        fresh.m_hWnd = fakeWindow;
        shell.journal.clear();
        shell.loadedMenu = c.menuLoads ? fakeTrayMenu : nullptr;
        shell.notifyResult = c.iconAdded;

        EXPECT_TRUE(fresh.OnInitDialog());
        EXPECT_EQ(shell.journal, c.expected) << "menu " << c.menuLoads << " icon " << c.iconAdded;
        EXPECT_EQ(fresh.launchBusy, 0);
        EXPECT_EQ(fresh.showState, 1);
        EXPECT_EQ(fresh.trayMenu.GetSafeHmenu(), c.menuLoads ? fakeTrayMenu : nullptr);
        EXPECT_EQ(fresh.trayIconData.cbSize, 488u);
        fresh.trayMenu.Detach();
        fresh.m_hWnd = nullptr;
    }
}

TEST_F(TrayStartup, LeavesTheSystemMenuAloneWithoutAboutTextOrSystemMenu) {
    shell.strings.clear();
    dialog.OnInitDialog();
    shell.strings[IDS_ABOUTBOX] = "&About Navolet...";
    shell.systemMenu = nullptr;
    dialog.OnInitDialog();
    for (const std::string& call : shell.journal) EXPECT_EQ(call.find("AppendMenu"), std::string::npos) << call;
}
