// Measures a running tray program from outside, as the benchmark and the soak need it:
// the time from a posted tray double-click to a visible property frame, the program's
// handle, GDI, USER and private-byte counts, and its CPU time while idle.
//
//   BenchDriver launch TITLE RUNS          times RUNS launches, prints min/median/max
//   BenchDriver soak TITLE RUNS [PER]      RUNS launches; resources first and last; PER
//                                          handle-table entries per launch are allowed
//                                          for the platform's own growth
//   BenchDriver resources TITLE            the program's resource counts now
//   BenchDriver idle-cpu TITLE SECONDS     CPU time used over SECONDS of idle
// TITLE is the caption of the program's hidden window. Exit status 0 = as expected.
#include <windows.h>
#include "ProcessResources.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const UINT WM_TRAYNOTIFY = WM_USER + 100;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A property frame: a visible top-level dialog holding a tab control.
BOOL CALLBACK FindFrame(HWND hwnd, LPARAM lParam) {
    char cls[16] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (IsWindowVisible(hwnd) && lstrcmpA(cls, "#32770") == 0 && FindWindowExA(hwnd, nullptr, "SysTabControl32", nullptr)) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND Frame() {
    HWND frame = nullptr;
    EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&frame));
    return frame;
}

template <class Condition>
bool WaitFor(double ms, Condition condition) {
    for (double start = Now();; Sleep(1)) {
        if (condition()) return true;
        if (Now() - start > ms) return false;
    }
}

DWORD ownerPid;

HANDLE OpenOwner(HWND window) {
    GetWindowThreadProcessId(window, &ownerPid);
    return OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ownerPid);
}

// One launch: the double-click, the frame shown, the frame closed. The time to the frame
// in milliseconds, or a negative number when it did not show.
double LaunchOnce(HWND window) {
    if (!WaitFor(10000, [] { return Frame() == nullptr; })) return -1;
    double start = Now();
    PostMessageA(window, WM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK);
    HWND frame = nullptr;
    if (!WaitFor(20000, [&] { return (frame = Frame()) != nullptr; })) return -1;
    double elapsed = Now() - start;
    PostMessageA(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!WaitFor(10000, [] { return Frame() == nullptr; })) return -1;
    Sleep(20);  // the program tears its graph down after the frame's loop ends
    return elapsed;
}

int Fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    return 1;
}

int Launches(HWND window, const char* title, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double t = LaunchOnce(window);
        if (t < 0) return Fail("the property frame did not open and close");
        times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    double median = runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
    std::printf("%-32s runs %d  min %7.1f ms  median %7.1f ms  max %7.1f ms\n", title, runs, times.front(), median,
                times.back());
    std::printf("median-ms %.1f\n", median);
    return 0;
}

// Launches, with the program's resources after the first and after the last; fails when
// they grew beyond a small allowance.
int Soak(HWND window, int runs, int platformHandlesPerLaunch) {
    HANDLE process = OpenOwner(window);
    if (!process) return Fail("cannot open the program's process");
    Resources first, last;
    for (int i = 0; i < runs; ++i) {
        if (LaunchOnce(window) < 0) {
            std::printf("launch %d: ", i + 1);
            return Fail("the property frame did not open and close");
        }
        if (i == 0) {
            first = MeasureProcess(process, ownerPid);
            PrintResources("first", first);
        }
    }
    last = MeasureProcess(process, ownerPid);
    PrintResources("last", last);
    CloseHandle(process);
    std::printf("%d launches; handle-table growth %ld, %.2f per launch\n", runs,
                static_cast<long>(last.handleTable) - static_cast<long>(first.handleTable),
                runs > 1 ? (static_cast<double>(last.handleTable) - first.handleTable) / (runs - 1) : 0.0);
    bool grew = ResourcesGrew(first, last, static_cast<long>(platformHandlesPerLaunch) * (runs - 1));
    return grew ? Fail("resources grew over the launches") : 0;
}

int IdleCpu(HWND window, int seconds) {
    HANDLE process = OpenOwner(window);
    if (!process) return Fail("cannot open the program's process");
    auto cpu = [&] {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(process, &created, &exited, &kernel, &user);
        ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
        ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
        return (k.QuadPart + u.QuadPart) / 10000.0;  // ms
    };
    double before = cpu();
    Sleep(seconds * 1000);
    double used = cpu() - before;
    CloseHandle(process);
    std::printf("idle CPU over %d s: %.1f ms\n", seconds, used);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::puts("usage: BenchDriver launch|soak TITLE RUNS | resources TITLE | idle-cpu TITLE SECONDS");
        return 2;
    }
    std::string command = argv[1];
    const char* title = argv[2];
    HWND window = nullptr;
    if (!WaitFor(20000, [&] { return (window = FindWindowA(nullptr, title)) != nullptr; }))
        return Fail("no window with that title");
    int n = argc > 3 ? std::atoi(argv[3]) : 0;
    if (command == "launch" && n > 0) return Launches(window, title, n);
    if (command == "soak" && n > 0) return Soak(window, n, argc > 4 ? std::atoi(argv[4]) : 0);
    if (command == "idle-cpu" && n > 0) return IdleCpu(window, n);
    if (command == "resources") {
        HANDLE process = OpenOwner(window);
        if (!process) return Fail("cannot open the program's process");
        PrintResources("now", MeasureProcess(process, ownerPid));
        CloseHandle(process);
        return 0;
    }
    return 2;
}
