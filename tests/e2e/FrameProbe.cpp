// Looks at the camera's property frame from outside Navolet: counts the open frames,
// reads and moves the demo camera's sliders, presses the frame's buttons, and reads how
// many demo capture filters are alive.
//
//   FrameProbe <command> [arguments]    exit status 0 = as expected
#include "Outside.h"
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char pageText[] = "Quendal KVX410RB picture settings";

std::string ClassOf(HWND hwnd) {
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    return cls;
}

// A property frame is a visible top-level dialog holding a tab control.
BOOL CALLBACK CollectFrame(HWND hwnd, LPARAM lParam) {
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770" &&
        FindWindowExA(hwnd, nullptr, "SysTabControl32", nullptr))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Frames() {
    std::vector<HWND> frames;
    EnumWindows(CollectFrame, reinterpret_cast<LPARAM>(&frames));
    return frames;
}

struct Search {
    int id;
    const char* cls;
    const char* text;
    HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam) {
    Search* s = reinterpret_cast<Search*>(lParam);
    if (s->cls && ClassOf(hwnd) != s->cls) return TRUE;
    if (s->id && GetDlgCtrlID(hwnd) != s->id) return TRUE;
    if (s->text) {
        char text[256] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        if (std::strcmp(text, s->text) != 0) return TRUE;
    }
    s->found = hwnd;
    return FALSE;
}

HWND Child(HWND frame, int id, const char* cls, const char* text) {
    Search s = {id, cls, text, nullptr};
    EnumChildWindows(frame, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND Slider(int id) {
    std::vector<HWND> frames = Frames();
    return frames.empty() ? nullptr : Child(frames[0], id, TRACKBAR_CLASSA, nullptr);
}

DWORD LiveFilters() {
    DWORD value = 0, size = sizeof value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Navolet\\DemoCam", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    RegQueryValueExA(key, "LiveFilters", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
}

int Usage() {
    std::puts("commands: frames | wait-frames N S | describe | set-slider ID VALUE | get-slider ID |\n"
              "          press ID | live-filters | wait-no-filters S");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];

    if (command == "frames" && argc == 2) {
        std::printf("%u property frame(s)\n", static_cast<unsigned>(Frames().size()));
        return 0;
    }
    if (command == "wait-frames" && argc == 4) {
        size_t wanted = Number(argv[2]);
        bool ok = WaitFor(std::atof(argv[3]), [&] { return Frames().size() == wanted; });
        std::printf("%u property frame(s)\n", static_cast<unsigned>(Frames().size()));
        return ok ? 0 : Fail("unexpected number of property frames");
    }
    if (command == "describe" && argc == 2) {
        std::vector<HWND> frames = Frames();
        if (frames.size() != 1) return Fail("not exactly one property frame");
        RECT r;
        GetWindowRect(frames[0], &r);
        std::printf("frame at (%ld,%ld)-(%ld,%ld)\n", r.left, r.top, r.right, r.bottom);
        if (!Child(frames[0], 0, "Static", pageText)) return Fail("the demo camera's page is not showing");
        std::printf("page: \"%s\"\n", pageText);
        return 0;
    }
    if (command == "set-slider" && argc == 4) {
        HWND bar = Slider(Number(argv[2]));
        if (!bar) return Fail("no such slider");
        SendMessageA(bar, TBM_SETPOS, TRUE, Number(argv[3]));
        // What the trackbar tells its page when the user lets go of the thumb.
        SendMessageA(GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
        return 0;
    }
    if (command == "get-slider" && argc == 3) {
        HWND bar = Slider(Number(argv[2]));
        if (!bar) return Fail("no such slider");
        std::printf("%ld\n", static_cast<long>(SendMessageA(bar, TBM_GETPOS, 0, 0)));
        return 0;
    }
    if (command == "press" && argc == 3) {
        std::vector<HWND> frames = Frames();
        if (frames.empty()) return Fail("no property frame");
        PostMessageA(frames[0], WM_COMMAND, MAKEWPARAM(Number(argv[2]), BN_CLICKED), 0);
        return 0;
    }
    if (command == "live-filters" && argc == 2) {
        std::printf("%lu live demo filter(s)\n", LiveFilters());
        return 0;
    }
    if (command == "wait-no-filters" && argc == 3) {
        bool ok = WaitFor(std::atof(argv[2]), [] { return LiveFilters() == 0; });
        std::printf("%lu live demo filter(s)\n", LiveFilters());
        return ok ? 0 : Fail("demo capture filters still alive");
    }
    return Usage();
}
