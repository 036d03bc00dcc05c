// Measures running tray programs from outside, as the benchmark and the soak need it:
// the time from a posted tray double-click to a visible property frame, the program's
// handle, GDI, USER and private-byte counts, and its CPU time while idle.
//
//   BenchDriver alternate RUNS TITLE FLOOR  RUNS launches of each of two programs, taken
//                                          in turns (ABBA...), so that the machine's
//                                          drift falls on both alike; min/median/max of
//                                          each and the ratio of the medians
//   BenchDriver phases RUNS TITLE FLOOR FILE  the same with the timing build for TITLE,
//                                          each launch cut into phases at the counter
//                                          readings both programs write to FILE
//                                          (bench/LaunchMarks.h); the median of each
//   BenchDriver soak TITLE RUNS [PER]      RUNS launches; resources first and last; PER
//                                          handle-table entries per launch are allowed
//                                          for the platform's own growth
//   BenchDriver resources TITLE            the program's resource counts now
//   BenchDriver idle-cpu TITLE SECONDS     CPU time used over SECONDS of idle
// TITLE and FLOOR are the captions of the programs' hidden windows. Exit status 0 = as
// expected.
#include <windows.h>
#include "LaunchMarks.h"
#include "ProcessResources.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const UINT WM_TRAYNOTIFY = WM_USER + 100;

double Milliseconds(LONGLONG ticks) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Ticks() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Now() { return Milliseconds(Ticks()); }

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

HWND VisibleFrame() {
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

// Until the program's thread has handled everything before a sent message: after a
// launch, that is the teardown that follows the frame.
bool WaitIdle(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

// One launch: the double-click, the frame shown, the frame closed, the program idle
// again. The time to the frame in milliseconds, or a negative number when it did not
// show; posted and shown receive the counter readings of both ends.
double LaunchOnce(HWND window, LONGLONG* posted = nullptr, LONGLONG* shown = nullptr) {
    if (!WaitFor(10000, [] { return VisibleFrame() == nullptr; }) || !WaitIdle(window)) return -1;
    LONGLONG start = Ticks();
    PostMessageA(window, WM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK);
    HWND frame = nullptr;
    if (!WaitFor(20000, [&] { return (frame = VisibleFrame()) != nullptr; })) return -1;
    LONGLONG end = Ticks();
    PostMessageA(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!WaitFor(10000, [] { return VisibleFrame() == nullptr; }) || !WaitIdle(window)) return -1;
    if (posted) *posted = start;
    if (shown) *shown = end;
    return Milliseconds(end - start);
}

int Fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    return 1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintTimes(const char* title, const std::vector<double>& times) {
    std::printf("%-32s runs %zu  min %7.1f ms  median %7.1f ms  max %7.1f ms\n", title, times.size(),
                *std::min_element(times.begin(), times.end()), Median(times),
                *std::max_element(times.begin(), times.end()));
}

// Both programs in turns, the first of each pair swapped every run (ABBA...), each warmed
// up first with a launch that is not counted.
int Alternate(int runs, HWND windows[2], const char* titles[2]) {
    std::vector<double> times[2];
    for (int w = 0; w < 2; ++w)
        if (LaunchOnce(windows[w]) < 0) return Fail("the property frame did not open and close");
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            int w = (i + k) % 2;
            double t = LaunchOnce(windows[w]);
            if (t < 0) return Fail("the property frame did not open and close");
            times[w].push_back(t);
        }
    }
    PrintTimes(titles[0], times[0]);
    PrintTimes(titles[1], times[1]);
    std::printf("Ratio of medians, %s / %s: %.2f\n", titles[0], titles[1], Median(times[0]) / Median(times[1]));
    // Each run's two launches follow each other closely; their difference is the least
    // touched by the load of the moment.
    std::vector<double> differences;
    for (int i = 0; i < runs; ++i) differences.push_back(times[0][i] - times[1][i]);
    std::printf("Median difference within a run, %s - %s: %+.2f ms\n", titles[0], titles[1], Median(differences));
    return 0;
}

// The phases of one launch, cut at the counter readings the program wrote to file; false
// when the file holds none from this launch. A phase whose marks the program does not
// pass reads 0; the floor, which builds no graph, has its device selection run up to
// the frame.
enum Phase {
    Message, Hide, ProfileReads, Selection, BuilderCreation, GraphCreation, Initialisation, FrameShown, Total,
    PhaseCount
};

bool ReadPhases(const char* file, LONGLONG posted, LONGLONG shown, double (&phases)[PhaseCount]) {
    LONGLONG m[MarkCount] = {};
    int read = 0;
    if (FILE* f = std::fopen(file, "r")) {
        for (LONGLONG& value : m) read += std::fscanf(f, "%lld", &value);
        std::fclose(f);
    }
    if (read != MarkCount || m[Launch] < posted || m[Frame] > shown) return false;
    auto span = [&](Mark from, Mark to) { return m[from] && m[to] ? Milliseconds(m[to] - m[from]) : 0.0; };
    bool graph = m[Builder] != 0;
    phases[Message] = Milliseconds(m[Launch] - posted);
    phases[Hide] = span(Launch, Profile);
    phases[ProfileReads] = span(Profile, Devices);
    phases[Selection] = span(Devices, graph ? Builder : Frame);
    phases[BuilderCreation] = span(Builder, BuilderDone);
    phases[GraphCreation] = span(Graph, GraphDone);
    phases[Initialisation] = span(Builder, Frame) - phases[BuilderCreation] - phases[GraphCreation];
    phases[FrameShown] = Milliseconds(shown - m[Frame]);
    phases[Total] = Milliseconds(shown - posted);
    return true;
}

// The timing build and the floor in turns, as in Alternate, each launch cut into phases;
// the median of each phase for each program.
int Phases(int runs, HWND windows[2], const char* file) {
    const char* names[PhaseCount] = {
        "message to the handler",
        "hide, teardown of the empty record",
        "profile reads",
        "device selection (floor: and binding, pages)",
        "capture graph builder creation",
        "filter graph creation",
        "filter initialisation (the rest to the frame)",
        "frame (called to visible)",
        "total (posted to visible)",
    };
    std::vector<double> phases[2][PhaseCount];
    for (int w = 0; w < 2; ++w)
        if (LaunchOnce(windows[w]) < 0) return Fail("the property frame did not open and close");
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            int w = (i + k) % 2;
            LONGLONG posted = 0, shown = 0;
            double one[PhaseCount];
            if (LaunchOnce(windows[w], &posted, &shown) < 0) return Fail("the property frame did not open and close");
            if (!ReadPhases(file, posted, shown, one)) return Fail("no timing marks from this launch");
            for (int p = 0; p < PhaseCount; ++p) phases[w][p].push_back(one[p]);
        }
    }
    std::printf("Median of each phase over %d launches in turns (ms):\n", runs);
    std::printf("  %-46s %9s %9s\n", "", "Navolet", "floor");
    for (int p = 0; p < PhaseCount; ++p)
        std::printf("  %-46s %9.2f %9.2f\n", names[p], Median(phases[0][p]), Median(phases[1][p]));
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

HWND FindProgram(const char* title) {
    HWND window = nullptr;
    WaitFor(20000, [&] { return (window = FindWindowA(nullptr, title)) != nullptr; });
    return window;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::puts("usage: BenchDriver alternate RUNS TITLE FLOOR | phases RUNS TITLE FLOOR FILE | soak TITLE RUNS [PER] |"
                  " resources TITLE | idle-cpu TITLE SECONDS");
        return 2;
    }
    std::string command = argv[1];
    if ((command == "alternate" && argc == 5) || (command == "phases" && argc == 6)) {
        int runs = std::atoi(argv[2]);
        const char* titles[2] = {argv[3], argv[4]};
        HWND windows[2] = {FindProgram(titles[0]), FindProgram(titles[1])};
        if (runs <= 0) return 2;
        if (!windows[0] || !windows[1]) return Fail("no window with that title");
        return command == "phases" ? Phases(runs, windows, argv[5]) : Alternate(runs, windows, titles);
    }
    const char* title = argv[2];
    HWND window = FindProgram(title);
    if (!window) return Fail("no window with that title");
    int n = argc > 3 ? std::atoi(argv[3]) : 0;
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
