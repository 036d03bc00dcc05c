// The tray applet as it starts and runs: the real window on its template, with the shell's
// tray, message boxes, the popup's tracking, the cursor and the property frame answered at
// the seam. Once the icon is added, a script of notifications is posted to the window.
#include <gtest/gtest.h>

#include "app/TrayApp.h"
#include "app/TrayDialog.h"
#include "platform/Seam.h"

namespace {

std::vector<std::string> journal;
std::vector<MSG> script;
BOOL addResult;
HWND tray;
size_t exitInFrame;  // the frame in which Exit is chosen, counting from 1

char line[300];
#define Note(...) (snprintf(line, sizeof line, __VA_ARGS__), journal.push_back(line))

BOOL WINAPI Notify(DWORD message, PNOTIFYICONDATAA d) {
    const bool first = !tray;
    if (first) {
        tray = d->hWnd;
        for (const MSG& m : script) PostMessageA(tray, m.message, m.wParam, m.lParam);
    }
    Note("%s size %lu window %s id %u flags %u message 0x%x icon %s tip %s",
         message == NIM_ADD ? "add" : message == NIM_DELETE ? "delete" : "?", d->cbSize, d->hWnd == tray ? "tray" : "other",
         d->uID, d->uFlags, d->uCallbackMessage, d->hIcon ? "set" : "none", d->szTip);
    return message == NIM_ADD && first ? addResult : TRUE;
}
int WINAPI Box(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    char title[64] = "";
    GetWindowTextA(owner, title, sizeof title);
    return Note("box %s, %s, %s, %u", title, text, caption, type), IDOK;
}
BOOL WINAPI Track(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT* rect) {
    char items[2][40] = {};
    for (int i = 0; i < 2; ++i) GetMenuStringA(menu, i, items[i], sizeof items[i], MF_BYPOSITION);
    Note("menu 0x%x at %d,%d owner %s %s: %s | %s (default %d), foreground %s", flags, x, y, owner == tray ? "tray" : "other",
         rect ? "rect" : "", items[0], items[1], GetMenuDefaultItem(menu, TRUE, 0),
         GetForegroundWindow() == tray ? "tray" : "other");
    return TRUE;
}
BOOL WINAPI Cursor(LPPOINT point) { return *point = {300, 400}, TRUE; }
HRESULT WINAPI Frame(HWND, UINT, UINT, LPCOLESTR, ULONG, LPUNKNOWN*, ULONG, LPCLSID, LCID, DWORD, LPVOID) {
    Note("frame, window %s", IsWindowVisible(tray) ? "shown" : "hidden");
    if (--exitInFrame == 0) SendMessageA(tray, WM_COMMAND, ID_TRAY_EXIT, 0), Note("frame closed");
    return S_OK;
}
HMENU WINAPI NoMenu(HINSTANCE, LPCSTR) { return nullptr; }
// Each run is the first Navolet of the session.
HANDLE WINAPI Mutex(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name) { return Note("instance %s", name), CreateMutexA(nullptr, FALSE, nullptr); }

// Runs the applet until the script ends it; the journal of what the seams saw.
std::vector<std::string> RunApplet(std::vector<MSG> posted, BOOL add = TRUE, size_t exitFrame = 0) {
    journal.clear(), script = posted, addResult = add, tray = nullptr, exitInFrame = exitFrame;
    platform::Shell_NotifyIconA = &Notify, platform::MessageBoxA = &Box, platform::TrackPopupMenu = &Track;
    platform::GetCursorPos = &Cursor, platform::OleCreatePropertyFrame = &Frame, platform::CreateMutexA = &Mutex;
    {
        TrayApp app;
        AfxWinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    }
#define REAL(name) platform::name = &::name
    REAL(Shell_NotifyIconA), REAL(MessageBoxA), REAL(TrackPopupMenu), REAL(GetCursorPos), REAL(OleCreatePropertyFrame);
    REAL(LoadMenuA), REAL(CreateMutexA);
    return journal;
}

// The shell 5.0 layout of the record: 488 bytes on 32-bit Windows, 504 on 64-bit.
const std::string record = std::string(sizeof(void*) == 4 ? " size 488" : " size 504") +
                           " window tray id 1 flags 7 message 0x464 icon set tip Quendal Camera Property";
const std::string added = "add" + record, deleted = "delete" + record;
const MSG exitCommand = {nullptr, WM_COMMAND, ID_TRAY_EXIT, 0, 0, {}};
const char* const instance = "instance Local\\Navolet-Quendal-Tray";
// The shell's broadcast when it makes its taskbar anew.
MSG TaskbarCreated() { return {nullptr, RegisterWindowMessageA("TaskbarCreated"), 0, 0, 0, {}}; }

}  // namespace

// Only the icon's own notifications act: the right button and the context key open the
// popup at the cursor, a double-click and "&Launch ..." open the frame; a new taskbar gets
// the icon again. Exit, chosen while the second frame is open, deletes the icon at once
// and ends the applet.
TEST(Tray, TheIconsNotificationsOpenItsMenuAndFrameAndExitRemovesIt) {
    const char* const menu =
        "menu 0x22 at 300,400 owner tray : &Launch ... | E&xit (default 0), foreground tray";
    EXPECT_EQ(RunApplet({{nullptr, WM_TRAYNOTIFY, 2, WM_LBUTTONDBLCLK, 0, {}}, {nullptr, WM_TRAYNOTIFY, 2, WM_RBUTTONDOWN, 0, {}},
                   {nullptr, WM_TRAYNOTIFY, 1, WM_LBUTTONDOWN, 0, {}}, {nullptr, WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN, 0, {}},
                   {nullptr, WM_TRAYNOTIFY, 1, WM_CONTEXTMENU, 0, {}}, {nullptr, WM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK, 0, {}},
                   TaskbarCreated(), {nullptr, WM_COMMAND, ID_TRAY_LAUNCH, 0, 0, {}}}, TRUE, 2),
              (std::vector<std::string>{instance, added, menu, menu, "frame, window hidden", added,
                                        "frame, window hidden", deleted, "frame closed"}));
}

// Start-up failures are reported and the applet runs on; a new taskbar gets the icon that
// could not be added.
TEST(Tray, StartUpFailuresAreReportedAndTheAppletRunsOn) {
    platform::LoadMenuA = &NoMenu;
    EXPECT_EQ(RunApplet({{nullptr, WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN, 0, {}}, TaskbarCreated(), exitCommand}, FALSE),
              (std::vector<std::string>{instance, "box Navolet-Quendal Property Page, Unabled to Load menu, navolet_tests, 0",
                                        added, "box Navolet-Quendal Property Page, Unable to Set Tary Icon, navolet_tests, 0",
                                        added, deleted}));
}

namespace {
HHOOK showHook;
void CALLBACK ExitNow(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    PostMessageA(tray, WM_COMMAND, ID_TRAY_EXIT, 0);
}
// Notes each time the tray window is shown or hidden; Exit comes once it has stayed
// hidden a while, long after its message loop first ran dry.
LRESULT CALLBACK NoteShowing(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && tray && m->hwnd == tray && m->message == WM_SHOWWINDOW && m->lParam == 0) {
        Note("window %s", m->wParam ? "shown" : "hidden");
        if (!m->wParam) SetTimer(tray, 1, 300, ExitNow);
    }
    return CallNextHookEx(showHook, code, wParam, lParam);
}
}  // namespace

// The window shows once, after start-up, and its first paint hides it for good.
TEST(Tray, TheWindowShowsOnceAndItsFirstPaintHidesItForGood) {
    showHook = SetWindowsHookExA(WH_CALLWNDPROC, NoteShowing, nullptr, GetCurrentThreadId());
    UINT_PTR fallback = SetTimer(nullptr, 0, 5000, ExitNow);  // a window that never hides ends too
    std::vector<std::string> seen = RunApplet({});
    KillTimer(nullptr, fallback);
    UnhookWindowsHookEx(showHook);
    EXPECT_EQ(seen, (std::vector<std::string>{instance, added, "window shown", "window hidden", deleted}));
}
