// "TaskbarCreated": a new taskbar gets the icon again, with the record of the start-up,
// also when the first add failed; the window's end then deletes it.
#include <cstring>
#include <vector>

#include "app/TrayDialog.h"
#include "doubles/SeamOverride.h"
#include <gtest/gtest.h>

namespace {

struct Notified {
    DWORD message;
    NOTIFYICONDATAA record;
};
std::vector<Notified> notified;
BOOL shellAnswer = FALSE;

BOOL WINAPI FakeNotify(DWORD message, PNOTIFYICONDATAA record) { return notified.push_back({message, *record}), shellAnswer; }
int WINAPI NoMessageBox(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

TEST(TaskbarCreated, AddsTheIconAgainAndOnlyASuccessChangesWhatTheEndDeletes) {
    SeamOverride<decltype(platform::Shell_NotifyIconA)> notify{platform::Shell_NotifyIconA, &FakeNotify};
    SeamOverride<decltype(platform::MessageBoxA)> box{platform::MessageBoxA, &NoMessageBox};
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    TrayDialog dialog;
    dialog.m_hWnd = window;
    notified.clear();
    dialog.OnInitDialog();  // the first add fails
    // What the shell broadcasts: the number the message has in this session.
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    for (BOOL answer : {TRUE, FALSE}) {  // added again; then a failed add, the icon still there
        shellAnswer = answer;
        EXPECT_EQ(dialog.WindowProc(taskbarCreated, 0, 0), 0);
        ASSERT_EQ(notified.size(), answer ? 2u : 3u);
        EXPECT_EQ(notified.back().message, DWORD(NIM_ADD));
        EXPECT_EQ(std::memcmp(&notified.back().record, &notified[0].record, sizeof(NOTIFYICONDATAA)), 0);
    }
    dialog.WindowProc(WM_DESTROY, 0, 0);
    ASSERT_EQ(notified.size(), 4u) << "the end deletes the icon";
    EXPECT_EQ(notified.back().message, DWORD(NIM_DELETE));
    dialog.m_hWnd = nullptr;
    DestroyWindow(window);
}

}  // namespace
