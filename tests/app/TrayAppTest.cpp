// The application object: one modal run of the tray window as the main window.
#include <gtest/gtest.h>

#include "app/TrayApp.h"
#include "doubles/SeamOverride.h"

namespace {
struct Seen {
    std::string templateName;
    HWND owner = nullptr;
    bool mainWindowWasTheDialog = false;
} seen;

INT_PTR WINAPI FakeDialogBox(HINSTANCE, LPCSTR name, HWND owner, DLGPROC, LPARAM dialog) {
    seen.templateName = std::to_string(reinterpret_cast<UINT_PTR>(name));
    seen.owner = owner;
    seen.mainWindowWasTheDialog = AfxGetThread()->m_pMainWnd == reinterpret_cast<CWnd*>(dialog);
    return -1;  // as if the window could not be made
}
int WINAPI NoString(HINSTANCE, UINT, LPSTR, int) { return 0; }
}  // namespace

TEST(TrayApp, RunsTheTrayDialogModallyAsMainWindowAndReturnsFalse) {
    SeamOverride<decltype(platform::DialogBoxParamA)> dialogBox(platform::DialogBoxParamA, FakeDialogBox);
    TrayApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(seen.templateName, "102");
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_TRUE(seen.mainWindowWasTheDialog);
    EXPECT_EQ(app.m_pMainWnd, nullptr);  // the dialog is gone, and so is the pointer
}

TEST(TrayApp, NameIsTheExecutablesBaseNameWithoutATitleString) {
    SeamOverride<decltype(platform::LoadStringA)> loadString(platform::LoadStringA, NoString);
    TrayApp app;
    app.InitApplication(GetModuleHandleA(nullptr));
    EXPECT_STREQ(app.m_pszAppName, "app_tests");
}
