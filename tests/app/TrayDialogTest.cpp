// The tray window on a pretend window handle: every platform call it makes is answered by
// a fake and written into a journal in the order made. Start-up, the icon's notifications,
// the way out, painting and the system menu's About entry are checked against it.
#include "app/TrayDialog.h"
#include "doubles/SeamOverride.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <map>

namespace {

const HWND fakeWindow = reinterpret_cast<HWND>(0x1000);
const HMENU fakeTrayMenu = reinterpret_cast<HMENU>(0x2000), fakePopup = reinterpret_cast<HMENU>(0x2100),
            fakeSystemMenu = reinterpret_cast<HMENU>(0x2200);
const HICON fakeIcon = reinterpret_cast<HICON>(0x3000);
const HDC fakePaintDC = reinterpret_cast<HDC>(0x4000);
const WNDPROC fakeSuper = reinterpret_cast<WNDPROC>(0x5000);

// What the fakes answer, and what they saw.
struct ShellWorld {
    std::vector<std::string> journal;
    HMENU loadedMenu = fakeTrayMenu, systemMenu = fakeSystemMenu;
    BOOL notifyResult = TRUE, iconic = FALSE;
    int iconWidth = 32, iconHeight = 32;
    RECT client = {0, 0, 0, 0};
    std::map<UINT, std::string> strings = {{IDS_ABOUTBOX, "&About Navolet..."}};
} shell;

// The journal reads the same on both architectures: handles and message parameters are
// printed 32 bits wide (the fakes are small numbers).
template <class T> T Arg(T value) { return value; }
template <class T> unsigned long Arg(T* value) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(value)); }
inline unsigned Arg(unsigned long long value) { return static_cast<unsigned>(value); }
inline long Arg(long long value) { return static_cast<long>(value); }
inline const char* Arg(const char* text) { return text; }
inline const char* Arg(char* text) { return text; }

template <class... Args>
void Note(const char* format, Args... args) {
    char line[512];
    std::snprintf(line, sizeof line, format, Arg(args)...);
    shell.journal.push_back(line);
}

std::string Resource(LPCSTR name) {
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<UINT_PTR>(name)) : name;
}

BOOL WINAPI FakeNotify(DWORD message, PNOTIFYICONDATAA d) {
    if (message != NIM_ADD) return Note("Shell_NotifyIcon(%s id=%u)", message == NIM_DELETE ? "DELETE" : "?", d->uID), TRUE;
    Note("Shell_NotifyIcon(ADD size=%lu hwnd=%08lx id=%u flags=%u msg=0x%x icon=%08lx tip=%s)", d->cbSize, d->hWnd,
         d->uID, d->uFlags, d->uCallbackMessage, d->hIcon, d->szTip);
    return shell.notifyResult;
}
int WINAPI FakeMessageBox(HWND h, LPCSTR text, LPCSTR caption, UINT type) {
    return Note("MessageBox(%08lx %s|%s|%u)", h, text, caption, type), IDOK;
}
BOOL WINAPI FakeTrack(HMENU m, UINT flags, int x, int y, int, HWND owner, const RECT* r) {
    return Note("TrackPopupMenu(%08lx 0x%x %d %d %08lx %08lx)", m, flags, x, y, owner, r), TRUE;
}
BOOL WINAPI FakeDefaultItem(HMENU m, UINT item, UINT byPosition) {
    return Note("SetMenuDefaultItem(%08lx %u %u)", m, item, byPosition), TRUE;
}
HMENU WINAPI FakeSubMenu(HMENU m, int position) { return m == fakeTrayMenu && position == 0 ? fakePopup : nullptr; }
HMENU WINAPI FakeLoadMenu(HINSTANCE, LPCSTR name) { return Note("LoadMenu(%s)", Resource(name).c_str()), shell.loadedMenu; }
BOOL WINAPI FakeDestroyMenu(HMENU) { return TRUE; }
HMENU WINAPI FakeSystemMenu(HWND, BOOL revert) { return Note("GetSystemMenu(%d)", revert), shell.systemMenu; }
BOOL WINAPI FakeAppend(HMENU m, UINT flags, UINT_PTR id, LPCSTR text) {
    return Note("AppendMenu(%08lx 0x%x %u %s)", m, flags, id, text ? text : "-"), TRUE;
}
HICON WINAPI FakeLoadIcon(HINSTANCE, LPCSTR) { return fakeIcon; }
BOOL WINAPI FakeCursor(LPPOINT p) { return Note("GetCursorPos"), *p = {300, 400}, TRUE; }
BOOL WINAPI FakeForeground(HWND h) { return Note("SetForegroundWindow(%08lx)", h), TRUE; }
LRESULT WINAPI FakeSend(HWND h, UINT m, WPARAM w, LPARAM l) { return Note("SendMessage(%08lx 0x%x 0x%x 0x%lx)", h, m, w, l), 0; }
BOOL WINAPI FakePost(HWND h, UINT m, WPARAM w, LPARAM l) { return Note("PostMessage(%08lx 0x%x 0x%x 0x%lx)", h, m, w, l), TRUE; }
BOOL WINAPI FakeShow(HWND h, int command) { return Note("ShowWindow(%08lx %d)", h, command), TRUE; }
BOOL WINAPI FakeIconic(HWND) { return shell.iconic; }
int WINAPI FakeMetrics(int i) { return i == SM_CXICON ? shell.iconWidth : i == SM_CYICON ? shell.iconHeight : 0; }
BOOL WINAPI FakeClientRect(HWND, LPRECT r) { return *r = shell.client, TRUE; }
BOOL WINAPI FakeDrawIcon(HDC dc, int x, int y, HICON icon) { return Note("DrawIcon(%08lx %d %d %08lx)", dc, x, y, icon), TRUE; }
INT_PTR WINAPI FakeDialogBox(HINSTANCE, LPCSTR name, HWND owner, DLGPROC, LPARAM) {
    return Note("DialogBox(%s owner=%08lx)", Resource(name).c_str(), owner), IDOK;
}
BOOL WINAPI FakeEndDialog(HWND h, INT_PTR result) { return Note("EndDialog(%08lx %ld)", h, result), TRUE; }
LRESULT WINAPI FakeCallWindowProc(WNDPROC proc, HWND h, UINT m, WPARAM w, LPARAM l) {
    return Note("Default(%08lx %08lx 0x%x 0x%x 0x%lx)", proc, h, m, w, l), 0;
}
LONG_PTR WINAPI FakeSetWindowLong(HWND, int, LONG_PTR) { return 0; }
HDC WINAPI FakeBeginPaint(HWND h, LPPAINTSTRUCT) { return Note("BeginPaint(%08lx)", h), fakePaintDC; }
BOOL WINAPI FakeEndPaint(HWND h, const PAINTSTRUCT*) { return Note("EndPaint(%08lx)", h), TRUE; }
int WINAPI FakeLoadString(HINSTANCE, UINT id, LPSTR buffer, int size) {
    auto it = shell.strings.find(id);
    return it == shell.strings.end() ? 0 : std::snprintf(buffer, size, "%s", it->second.c_str());
}

// No component can be created here, so a launch finds no camera and opens no real frame.
HRESULT WINAPI FakeCreate(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* out) { return *out = nullptr, REGDB_E_CLASSNOTREG; }

#define SEAM(name, fake) SeamOverride<decltype(platform::name)> name##Seam{platform::name, &fake}
class TrayDialogTest : public ::testing::Test {
protected:
    TrayDialogTest() {
        shell = ShellWorld{};
        app.InitApplication(GetModuleHandleA(nullptr));
        app.m_pMainWnd = &dialog;
        dialog.m_hWnd = fakeWindow;
        dialog.m_pfnSuper = fakeSuper;
    }
    // Handles the message as the window procedure would, with the journal emptied first.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        shell.journal.clear();
        return dialog.WindowProc(message, wParam, lParam);
    }
    void Start() {
        dialog.OnInitDialog();
        shell.journal.clear();
    }

    SEAM(Shell_NotifyIconA, FakeNotify); SEAM(MessageBoxA, FakeMessageBox); SEAM(TrackPopupMenu, FakeTrack);
    SEAM(SetMenuDefaultItem, FakeDefaultItem); SEAM(GetSubMenu, FakeSubMenu); SEAM(LoadMenuA, FakeLoadMenu);
    SEAM(DestroyMenu, FakeDestroyMenu); SEAM(GetSystemMenu, FakeSystemMenu); SEAM(AppendMenuA, FakeAppend);
    SEAM(LoadIconA, FakeLoadIcon); SEAM(GetCursorPos, FakeCursor); SEAM(SetForegroundWindow, FakeForeground);
    SEAM(SendMessageA, FakeSend); SEAM(PostMessageA, FakePost); SEAM(ShowWindow, FakeShow);
    SEAM(IsIconic, FakeIconic); SEAM(GetSystemMetrics, FakeMetrics); SEAM(GetClientRect, FakeClientRect);
    SEAM(DrawIcon, FakeDrawIcon); SEAM(DialogBoxParamA, FakeDialogBox); SEAM(EndDialog, FakeEndDialog);
    SEAM(CallWindowProcA, FakeCallWindowProc); SEAM(SetWindowLongPtrA, FakeSetWindowLong);
    SEAM(BeginPaint, FakeBeginPaint); SEAM(EndPaint, FakeEndPaint); SEAM(LoadStringA, FakeLoadString);
    SEAM(CoCreateInstance, FakeCreate);
    CWinApp app{"TestApp"};
    TrayDialog dialog;
};
#undef SEAM

using Journal = std::vector<std::string>;
const Journal popup = {"GetCursorPos", "SetForegroundWindow(00001000)", "SetMenuDefaultItem(00002100 0 1)",
                       "TrackPopupMenu(00002100 0x22 300 400 00001000 00000000)"};
const Journal launch = {"ShowWindow(00001000 0)", "Default(00005000 00001000 0xf 0x0 0x0)"};
// The shell 5.0 record: 488 bytes on 32-bit Windows, 504 on 64-bit.
#ifdef _WIN64
#define TRAY_RECORD_SIZE "504"
#else
#define TRAY_RECORD_SIZE "488"
#endif
const char addIcon[] = "Shell_NotifyIcon(ADD size=" TRAY_RECORD_SIZE " hwnd=00001000 id=1 flags=7 msg=0x464 icon=00003000 "
                       "tip=Quendal Camera Property)";

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

}  // namespace
