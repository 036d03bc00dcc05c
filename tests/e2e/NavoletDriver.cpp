// Drives a running Navolet as the shell and a user would, and reports what is on the
// screen: the tray window and its icon, menus and boxes, the camera's property frame.
//
//   NavoletDriver <command> [arguments]    exit status 0 = as expected
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char trayTitle[] = "Navolet-Quendal Property Page";

unsigned long Number(const char* text) { return std::strtoul(text, nullptr, 0); }

int Fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    return 1;
}

// Polls a condition every 50 ms for up to the given seconds.
template <class Condition>
bool WaitFor(const char* seconds, Condition condition) {
    for (DWORD start = GetTickCount();; Sleep(50)) {
        if (condition()) return true;
        if (GetTickCount() - start > std::atof(seconds) * 1000) return false;
    }
}

std::string ClassOf(HWND h) {
    char text[256] = "";
    return std::string(text, GetClassNameA(h, text, sizeof text));
}
std::string TitleOf(HWND h) {
    char text[256] = "";
    return std::string(text, GetWindowTextA(h, text, sizeof text));
}

BOOL CALLBACK Collect(HWND h, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
    return TRUE;
}
// The top-level windows, or every window inside a parent.
std::vector<HWND> All(HWND parent = nullptr) {
    std::vector<HWND> all;
    if (parent) EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&all));
    else EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

// Visible top-level windows (or hidden ones too) by class and title ("*": any). The class
// "frame" stands for a property frame: a dialog that holds a tab control.
std::vector<HWND> Windows(const std::string& cls, const std::string& title, bool hiddenToo = false) {
    bool frame = cls == "frame";
    std::vector<HWND> found;
    for (HWND h : All())
        if ((hiddenToo || IsWindowVisible(h)) && ClassOf(h) == (frame ? "#32770" : cls) &&
            (title == "*" || TitleOf(h) == title) && (!frame || FindWindowExA(h, nullptr, WC_TABCONTROLA, nullptr)))
            found.push_back(h);
    return found;
}
HWND First(const std::string& cls, const std::string& title) {
    std::vector<HWND> found = Windows(cls, title);
    return found.empty() ? nullptr : found[0];
}

std::vector<HWND> TrayWindows() { return Windows("#32770", trayTitle, true); }

// The icon as the shell holds it: a change of nothing succeeds only for an icon it has.
NOTIFYICONDATAA Icon() {
    NOTIFYICONDATAA icon = {};
    std::vector<HWND> trays = TrayWindows();
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE, icon.hWnd = trays.empty() ? nullptr : trays[0], icon.uID = 1;
    return icon;
}
bool IconShown() {
    NOTIFYICONDATAA icon = Icon();
    return icon.hWnd && Shell_NotifyIconA(NIM_MODIFY, &icon);
}

// Where the shell shows the icon, on the screen. The shell's own answer where it has one
// (Wine 8 and 10 answer E_NOTIMPL); else the tray window that holds the icons, wherever it
// is: the icon's own window in it where the tray gives each icon one (Wine 10's small
// tray window), else the first icon's cell at the right end of its client area, where a
// taskbar keeps its notification area (Wine 8's taskbar).
bool IconRect(RECT* r) {
    // Windows 7's, so looked up rather than linked: the builds target older ones.
    using GetRect = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
    auto getRect = reinterpret_cast<GetRect>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("shell32.dll"), "Shell_NotifyIconGetRect")));
    NOTIFYICONIDENTIFIER id = {sizeof id, Icon().hWnd, Icon().uID, {}};
    if (getRect && id.hWnd && SUCCEEDED(getRect(&id, r))) return true;
    HWND tray = First("Shell_TrayWnd", "*");
    if (!tray) return false;
    for (HWND h : All(tray))
        if (IsWindowVisible(h) && ClassOf(h) == "__wine_tray_icon") return GetWindowRect(h, r);
    POINT origin = {0, 0};
    if (!GetClientRect(tray, r) || !ClientToScreen(tray, &origin)) return false;
    OffsetRect(r, origin.x, origin.y);
    r->left = r->right - (GetSystemMetrics(SM_CXSMICON) + 4);
    return true;
}

// ImageMagick's geometry of a rectangle on the screen.
int Geometry(const RECT& r) {
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
}

// A control of the open frame's page.
HWND Control(const char* cls, int id, const char* text = nullptr) {
    HWND frame = First("frame", "*");
    for (HWND h : frame ? All(frame) : std::vector<HWND>())
        if (ClassOf(h) == cls && (!id || GetDlgCtrlID(h) == id) && (!text || TitleOf(h) == text)) return h;
    return nullptr;
}

int Usage() {
    std::puts("commands: wait-tray S | taskbar-created | no-message-box | post MSG WPARAM LPARAM |\n"
              "  post-to CLASS TITLE MSG WPARAM LPARAM | rect CLASS TITLE | icon-rect | wait CLASS TITLE COUNT S |\n"
              "  page (the frame's title and page) | slider ID [VALUE]   (TITLE *: any title; CLASS frame: a property frame)");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    auto is = [&](const char* name, int args) { return command == name && argc == args + 2; };

    if (is("wait-tray", 1)) {
        // One tray window, hidden for good, its icon in the tray.
        bool ok = WaitFor(argv[2], [] {
            if (TrayWindows().size() != 1 || IsWindowVisible(TrayWindows()[0]) || !IconShown()) return false;
            Sleep(300);
            return TrayWindows().size() == 1 && !IsWindowVisible(TrayWindows()[0]);
        });
        std::printf("%u tray window(s), icon %s\n", unsigned(TrayWindows().size()), IconShown() ? "shown" : "missing");
        return ok ? 0 : Fail("not one hidden tray window with its icon");
    }
    if (is("taskbar-created", 0)) {
        // What a new taskbar looks like to the program: its icon gone, then the broadcast.
        NOTIFYICONDATAA icon = Icon();
        Shell_NotifyIconA(NIM_DELETE, &icon);
        if (IconShown()) return Fail("the icon could not be taken away");
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        return 0;
    }
    if (is("no-message-box", 0))  // both start-up failures show a box captioned with the application name
        return First("#32770", "Navolet") ? Fail("a failure message is showing") : 0;
    if (is("post", 3) || is("post-to", 5)) {
        HWND target = command == "post" ? Icon().hWnd : First(argv[2], argv[3]);
        char** m = argv + argc - 3;
        return target && PostMessageA(target, Number(m[0]), Number(m[1]), Number(m[2])) ? 0 : Fail("no window to post to");
    }
    if (is("wait", 4)) {
        size_t count = Number(argv[4]);
        bool ok = WaitFor(argv[5], [&] { return Windows(argv[2], argv[3]).size() == count; });
        std::printf("%u %s window(s)\n", unsigned(Windows(argv[2], argv[3]).size()), argv[2]);
        return ok ? 0 : Fail("not the number of windows expected");
    }
    if (is("rect", 2)) {
        RECT r;
        HWND w = First(argv[2], argv[3]);
        return w && GetWindowRect(w, &r) ? Geometry(r) : Fail("no such window");
    }
    if (is("icon-rect", 0)) {
        RECT r;
        return IconShown() && IconRect(&r) ? Geometry(r) : Fail("no icon in a tray window");
    }
    if (is("page", 0)) {
        // Titled after the camera, as each platform words it ("Properties for ..." on Wine).
        if (Windows("frame", "*").size() != 1) return Fail("not exactly one property frame");
        std::string title = TitleOf(First("frame", "*"));
        std::printf("frame titled \"%s\"\n", title.c_str());
        if (title.find("Quendal KVX410RB PC Camera") == std::string::npos) return Fail("the frame's title names no camera");
        return Control("Static", 0, "Quendal KVX410RB picture settings") ? 0 : Fail("not the demo camera's page");
    }
    if (is("slider", 1) || is("slider", 2)) {
        HWND bar = Control(TRACKBAR_CLASSA, Number(argv[2]));
        if (!bar) return Fail("no such slider");
        if (argc == 4) {
            SendMessageA(bar, TBM_SETPOS, TRUE, Number(argv[3]));
            // What the trackbar tells its page when the user lets go of the thumb.
            SendMessageA(GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
        }
        std::printf("%ld\n", long(SendMessageA(bar, TBM_GETPOS, 0, 0)));
        return 0;
    }
    return Usage();
}
