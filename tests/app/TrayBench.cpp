#include "TrayBench.h"

#include <cstdio>
#include <cstring>

ShellWorld* world = nullptr;

const HWND fakeWindow = reinterpret_cast<HWND>(0x1000);
const HMENU fakeTrayMenu = reinterpret_cast<HMENU>(0x2000);
const HMENU fakePopup = reinterpret_cast<HMENU>(0x2100);
const HMENU fakeSystemMenu = reinterpret_cast<HMENU>(0x2200);
const HICON fakeIcon = reinterpret_cast<HICON>(0x3000);
const HDC fakePaintDC = reinterpret_cast<HDC>(0x4000);
const WNDPROC fakeSuper = reinterpret_cast<WNDPROC>(0x5000);

namespace {

template <class... Args>
void Note(const char* format, Args... args) {
    char line[512];
    std::snprintf(line, sizeof line, format, args...);
    world->journal.push_back(line);
}

std::string Resource(LPCSTR name) {
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<UINT_PTR>(name)) : name;
}

BOOL WINAPI FakeNotify(DWORD message, PNOTIFYICONDATAA d) {
    if (message != NIM_ADD) return Note("Shell_NotifyIcon(%s id=%u)", message == NIM_DELETE ? "DELETE" : "?", d->uID), TRUE;
    Note("Shell_NotifyIcon(ADD size=%lu hwnd=%p id=%u flags=%u msg=0x%x icon=%p tip=%s)", d->cbSize, d->hWnd,
         d->uID, d->uFlags, d->uCallbackMessage, d->hIcon, d->szTip);
    return world->notifyResult;
}
int WINAPI FakeMessageBox(HWND h, LPCSTR text, LPCSTR caption, UINT type) {
    return Note("MessageBox(%p %s|%s|%u)", h, text, caption, type), IDOK;
}
BOOL WINAPI FakeTrack(HMENU m, UINT flags, int x, int y, int, HWND owner, const RECT* r) {
    return Note("TrackPopupMenu(%p 0x%x %d %d %p %p)", m, flags, x, y, owner, r), TRUE;
}
BOOL WINAPI FakeDefaultItem(HMENU m, UINT item, UINT byPosition) {
    return Note("SetMenuDefaultItem(%p %u %u)", m, item, byPosition), TRUE;
}
HMENU WINAPI FakeSubMenu(HMENU m, int position) { return m == fakeTrayMenu && position == 0 ? fakePopup : nullptr; }
HMENU WINAPI FakeLoadMenu(HINSTANCE, LPCSTR name) { return Note("LoadMenu(%s)", Resource(name).c_str()), world->loadedMenu; }
BOOL WINAPI FakeDestroyMenu(HMENU) { return TRUE; }
HMENU WINAPI FakeSystemMenu(HWND, BOOL revert) { return Note("GetSystemMenu(%d)", revert), world->systemMenu; }
BOOL WINAPI FakeAppend(HMENU m, UINT flags, UINT_PTR id, LPCSTR text) {
    return Note("AppendMenu(%p 0x%x %u %s)", m, flags, id, text ? text : "-"), TRUE;
}
HICON WINAPI FakeLoadIcon(HINSTANCE, LPCSTR) { return fakeIcon; }
BOOL WINAPI FakeCursor(LPPOINT p) { return Note("GetCursorPos"), *p = {300, 400}, TRUE; }
BOOL WINAPI FakeForeground(HWND h) { return Note("SetForegroundWindow(%p)", h), TRUE; }
LRESULT WINAPI FakeSend(HWND h, UINT m, WPARAM w, LPARAM l) { return Note("SendMessage(%p 0x%x 0x%x 0x%lx)", h, m, w, l), 0; }
BOOL WINAPI FakePost(HWND h, UINT m, WPARAM w, LPARAM l) { return Note("PostMessage(%p 0x%x 0x%x 0x%lx)", h, m, w, l), TRUE; }
BOOL WINAPI FakeShow(HWND h, int command) { return Note("ShowWindow(%p %d)", h, command), TRUE; }
BOOL WINAPI FakeIconic(HWND) { return world->iconic; }
int WINAPI FakeMetrics(int i) { return i == SM_CXICON ? world->iconWidth : i == SM_CYICON ? world->iconHeight : 0; }
BOOL WINAPI FakeClientRect(HWND, LPRECT r) { return *r = world->client, TRUE; }
BOOL WINAPI FakeDrawIcon(HDC dc, int x, int y, HICON icon) { return Note("DrawIcon(%p %d %d %p)", dc, x, y, icon), TRUE; }
INT_PTR WINAPI FakeDialogBox(HINSTANCE, LPCSTR name, HWND owner, DLGPROC, LPARAM) {
    return Note("DialogBox(%s owner=%p)", Resource(name).c_str(), owner), IDOK;
}
BOOL WINAPI FakeEndDialog(HWND h, INT_PTR result) { return Note("EndDialog(%p %d)", h, result), TRUE; }
LRESULT WINAPI FakeCallWindowProc(WNDPROC proc, HWND h, UINT m, WPARAM w, LPARAM l) {
    return Note("Default(%p %p 0x%x 0x%x 0x%lx)", proc, h, m, w, l), 0;
}
LONG WINAPI FakeSetWindowLong(HWND, int, LONG) { return 0; }
HDC WINAPI FakeBeginPaint(HWND h, LPPAINTSTRUCT) { return Note("BeginPaint(%p)", h), fakePaintDC; }
BOOL WINAPI FakeEndPaint(HWND h, const PAINTSTRUCT*) { return Note("EndPaint(%p)", h), TRUE; }
int WINAPI FakeLoadString(HINSTANCE, UINT id, LPSTR buffer, int size) {
    auto it = world->strings.find(id);
    return it == world->strings.end() ? 0 : std::snprintf(buffer, size, "%s", it->second.c_str());
}

}  // namespace

#define SEAM(name, fake) name##Seam(platform::name, &fake)
ShellSeams::ShellSeams()
    : SEAM(Shell_NotifyIconA, FakeNotify), SEAM(MessageBoxA, FakeMessageBox), SEAM(TrackPopupMenu, FakeTrack),
      SEAM(SetMenuDefaultItem, FakeDefaultItem), SEAM(GetSubMenu, FakeSubMenu), SEAM(LoadMenuA, FakeLoadMenu),
      SEAM(DestroyMenu, FakeDestroyMenu), SEAM(GetSystemMenu, FakeSystemMenu), SEAM(AppendMenuA, FakeAppend),
      SEAM(LoadIconA, FakeLoadIcon), SEAM(GetCursorPos, FakeCursor), SEAM(SetForegroundWindow, FakeForeground),
      SEAM(SendMessageA, FakeSend), SEAM(PostMessageA, FakePost), SEAM(ShowWindow, FakeShow),
      SEAM(IsIconic, FakeIconic), SEAM(GetSystemMetrics, FakeMetrics), SEAM(GetClientRect, FakeClientRect),
      SEAM(DrawIcon, FakeDrawIcon), SEAM(DialogBoxParamA, FakeDialogBox), SEAM(EndDialog, FakeEndDialog),
      SEAM(CallWindowProcA, FakeCallWindowProc), SEAM(SetWindowLongA, FakeSetWindowLong),
      SEAM(BeginPaint, FakeBeginPaint), SEAM(EndPaint, FakeEndPaint), SEAM(LoadStringA, FakeLoadString) {}
#undef SEAM

TrayBench::TrayBench() {
    world = &shell;
    shell.loadedMenu = fakeTrayMenu;
    shell.systemMenu = fakeSystemMenu;
    shell.strings[IDS_ABOUTBOX] = "&About Navolet...";
    app.InitApplication(GetModuleHandleA(nullptr));
    app.m_pMainWnd = &dialog;
    dialog.m_hWnd = fakeWindow;
    dialog.m_pfnSuper = fakeSuper;
}

LRESULT TrayBench::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    shell.journal.clear();
    return dialog.WindowProc(message, wParam, lParam);
}

void TrayBench::Start() {
    dialog.OnInitDialog();
    shell.journal.clear();
}
