// Drives a running Navolet the way the shell and a user would: finds its windows, posts
// tray notifications and commands, and reports what is on the screen.
//
//   NavoletDriver <command> [arguments]    exit status 0 = as expected
#include "Outside.h"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char trayTitle[] = "Navolet-Quendal Property Page";

HWND TrayWindow() { return FindWindowA("#32770", trayTitle); }

struct Found {
    const char* className;
    const char* title;  // null: any
    HWND hwnd;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lParam) {
    Found* found = reinterpret_cast<Found*>(lParam);
    char cls[64] = "", title[256] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (IsWindowVisible(hwnd) && std::strcmp(cls, found->className) == 0 &&
        (!found->title || std::strcmp(title, found->title) == 0)) {
        found->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindow(const char* className, const char* title) {
    Found found = {className, title, nullptr};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
    return found.hwnd;
}

BOOL CALLBACK PrintWindow(HWND hwnd, LPARAM) {
    char cls[64] = "", title[256] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    RECT r;
    GetWindowRect(hwnd, &r);
    std::printf("%p %-24s %-8s (%ld,%ld)-(%ld,%ld) \"%s\"\n", static_cast<void*>(hwnd), cls,
                IsWindowVisible(hwnd) ? "visible" : "hidden", r.left, r.top, r.right, r.bottom, title);
    return TRUE;
}

int Usage() {
    std::puts("commands: wait-hidden S | no-message-box | post MSG WPARAM LPARAM |\n"
              "          wait-popup S | popup-key VK | wait-visible CLASS TITLE S |\n"
              "          wait-closed CLASS TITLE S |\n"
              "          post-to CLASS TITLE MSG WPARAM LPARAM | wait-gone S | list");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];

    if (command == "wait-hidden" && argc == 3) {
        // The window exists, and is hidden and stays hidden for a moment.
        if (!WaitFor(Number(argv[2]), [] { return TrayWindow() != nullptr; })) return Fail("no tray window");
        bool hidden = WaitFor(Number(argv[2]), [] {
            HWND w = TrayWindow();
            if (!w || IsWindowVisible(w)) return false;
            Sleep(500);
            return !IsWindowVisible(w);
        });
        if (!hidden) return Fail("tray window still visible");
        std::puts("tray window hidden");
        return 0;
    }
    if (command == "no-message-box" && argc == 2) {
        // Both start-up failures show a box captioned with the application name.
        if (HWND box = VisibleWindow("#32770", "Navolet")) {
            char text[256] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            std::printf("message box: \"%s\"\n", text);
            return Fail("a failure message is showing");
        }
        std::puts("no message box");
        return 0;
    }
    if (command == "post" && argc == 5) {
        HWND w = TrayWindow();
        if (!w) return Fail("no tray window");
        if (!PostMessageA(w, Number(argv[2]), Number(argv[3]), Number(argv[4]))) return Fail("post");
        return 0;
    }
    if (command == "wait-popup" && argc == 3) {
        HWND popup = nullptr;
        if (!WaitFor(Number(argv[2]), [&] { return (popup = VisibleWindow("#32768", nullptr)) != nullptr; })) {
            return Fail("no popup menu");
        }
        RECT r;
        GetWindowRect(popup, &r);
        std::printf("popup menu at (%ld,%ld)-(%ld,%ld)\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (command == "popup-key" && argc == 3) {
        // The menu's own loop reads the key from the thread's queue.
        HWND popup = VisibleWindow("#32768", nullptr);
        if (!popup) return Fail("no popup menu");
        PostMessageA(popup, WM_KEYDOWN, Number(argv[2]), 0);
        return 0;
    }
    if (command == "wait-visible" && argc == 5) {
        const char* cls = argv[2];
        const char* title = argv[3];
        if (!WaitFor(Number(argv[4]), [&] { return VisibleWindow(cls, title) != nullptr; })) {
            return Fail("window not shown");
        }
        return 0;
    }
    if (command == "wait-closed" && argc == 5) {
        const char* cls = argv[2];
        const char* title = argv[3];
        if (!WaitFor(Number(argv[4]), [&] { return VisibleWindow(cls, title) == nullptr; })) {
            return Fail("window still shown");
        }
        return 0;
    }
    if (command == "post-to" && argc == 7) {
        HWND w = VisibleWindow(argv[2], argv[3]);
        if (!w) return Fail("no such window");
        PostMessageA(w, Number(argv[4]), Number(argv[5]), Number(argv[6]));
        return 0;
    }
    if (command == "wait-gone" && argc == 3) {
        if (!WaitFor(Number(argv[2]), [] { return TrayWindow() == nullptr; })) return Fail("tray window still there");
        std::puts("tray window gone");
        return 0;
    }
    if (command == "list" && argc == 2) {
        EnumWindows(PrintWindow, 0);
        return 0;
    }
    return Usage();
}
