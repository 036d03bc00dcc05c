// Measures running tray programs from outside, as the benchmark and the soak need it:
// the time from a posted tray double-click to a visible property frame, the time from
// process creation to the icon in the tray, the programs' resources and their CPU time
// while idle. The first TITLE is Navolet's; each later one is a floor it is compared with.
//
//   BenchDriver alternate RUNS TITLE FLOOR...  RUNS launches of each program, taken in
//                                          turns (the first of each run moved on every
//                                          run), so that the machine's drift falls on
//                                          all alike; min/median/max of each, the ratio
//                                          of the medians and the median difference
//                                          within a run to each floor
//   BenchDriver phases RUNS FILE TITLE FLOOR...  the same with the timing build for
//                                          TITLE, each launch cut into phases at the
//                                          counter readings the programs write to FILE
//                                          (bench/LaunchMarks.h); the median of each
//   BenchDriver startup RUNS COMMAND TITLE COMMAND TITLE...  RUNS starts of each in turns:
//                                          process creation to its icon in the tray and
//                                          its window hidden; each ended by its Exit
//                                          command before the next start
//   BenchDriver startup-phases RUNS FILE COMMAND TITLE...  the same with the timing
//                                          build, each start cut into phases at the marks
//                                          the programs leave in FILE on their way out
//   BenchDriver soak TITLE RUNS [PER]      RUNS launches; resources first and last; PER
//                                          handle-table entries per launch are allowed
//                                          for the platform's own growth
//   BenchDriver resources TITLE...         the programs' resource counts now, side by side
//   BenchDriver idle-cpu SECONDS TITLE...  CPU time each used over the same SECONDS
// TITLE and FLOOR are the captions of the programs' hidden windows; a COMMAND is a
// program's command line, its path in quotes. Exit status 0 = as expected.
#include <windows.h>
#include <shellapi.h>
#include "LaunchMarks.h"
#include "ProcessResources.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT WM_TRAYNOTIFY = WM_USER + 100;
const int maxPrograms = 4;

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
    std::printf("%-36s runs %zu  min %7.1f ms  median %7.1f ms  max %7.1f ms\n", title, times.size(),
                *std::min_element(times.begin(), times.end()), Median(times),
                *std::max_element(times.begin(), times.end()));
}

// The programs' column names: Navolet's first, each floor by its title after "Navolet-".
const char* Label(const char* title, int i) {
    const char prefix[] = "Navolet-";
    if (i == 0) return "Navolet";
    return std::strncmp(title, prefix, sizeof prefix - 1) == 0 ? title + sizeof prefix - 1 : title;
}

// Run i takes the programs in the order i, i+1, ...: over the runs each program comes
// first, second, ... equally often. Each is warmed up with a launch that is not counted.
template <class Once>
bool InTurns(int runs, int n, Once once) {
    for (int w = 0; w < n; ++w)
        if (!once(w, -1)) return false;
    for (int i = 0; i < runs; ++i)
        for (int k = 0; k < n; ++k)
            if (!once((i + k) % n, i)) return false;
    return true;
}

// What each floor's figures are to the first program's: the ratio of the medians, and
// the median of the differences within a run, the least touched by the load of the
// moment since a run's launches follow each other closely.
void Compare(int n, const char* const titles[], const std::vector<double> times[]) {
    for (int w = 1; w < n; ++w) {
        std::vector<double> differences;
        for (size_t i = 0; i < times[0].size(); ++i) differences.push_back(times[0][i] - times[w][i]);
        std::printf("Ratio of medians, %s / %s: %.3f; median difference within a run: %+.2f ms\n", titles[0],
                    titles[w], Median(times[0]) / Median(times[w]), Median(differences));
    }
}

// Each program's times in turns, once(w) timing one go of program w (negative: it failed),
// printed with the ratios to the first program's.
template <class Once>
int TimesInTurns(int runs, int n, const char* const titles[], Once once, const char* failure) {
    std::vector<double> times[maxPrograms];
    bool ok = InTurns(runs, n, [&](int w, int run) {
        double t = once(w);
        if (run >= 0) times[w].push_back(t);
        return t >= 0;
    });
    if (!ok) return Fail(failure);
    for (int w = 0; w < n; ++w) PrintTimes(titles[w], times[w]);
    Compare(n, titles, times);
    return 0;
}

int Alternate(int runs, int n, const HWND windows[], const char* const titles[]) {
    return TimesInTurns(runs, n, titles, [&](int w) { return LaunchOnce(windows[w]); },
                        "the property frame did not open and close");
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
    if (!ReadMarks(file, m) || m[Launch] < posted || m[Frame] > shown) return false;
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

// The median of each phase for each program, then the median of its difference within a
// run from the first program's to each other's.
template <int P>
void PrintPhaseTable(const char* what, int runs, int n, const char* const titles[], const char* const (&names)[P],
                     const std::vector<double> (&phases)[maxPrograms][P]) {
    std::printf("Median of each phase over %d %s in turns, and of the difference within a run (ms):\n", runs, what);
    const char* labels[maxPrograms];
    for (int w = 0; w < n; ++w) labels[w] = Label(titles[w], w);
    int widths[maxColumns];
    PrintHeadings(48, 9, n, labels, widths);
    for (int p = 0; p < P; ++p) {
        std::printf("  %-48s", names[p]);
        for (int w = 0; w < n; ++w) std::printf(" %*.2f", widths[w], Median(phases[w][p]));
        for (int w = 1; w < n; ++w) {
            std::vector<double> differences;
            for (size_t i = 0; i < phases[0][p].size(); ++i) differences.push_back(phases[0][p][i] - phases[w][p][i]);
            std::printf(" %+*.2f", widths[n - 1 + w], Median(differences));
        }
        std::printf("\n");
    }
}

// The programs in turns, once(w, phases) cutting one go of program w into phases (or
// saying what failed); the median of each phase for each program.
template <int P, class Once>
int PhasesInTurns(const char* what, int runs, int n, const char* const titles[], const char* const (&names)[P],
                  Once once) {
    std::vector<double> phases[maxPrograms][P];
    const char* failure = nullptr;
    InTurns(runs, n, [&](int w, int run) {
        double one[P];
        failure = once(w, one);
        if (!failure && run >= 0)
            for (int p = 0; p < P; ++p) phases[w][p].push_back(one[p]);
        return failure == nullptr;
    });
    if (failure) return Fail(failure);
    PrintPhaseTable(what, runs, n, titles, names, phases);
    return 0;
}

// The timing build and the floors in turns, as in Alternate, each launch cut into phases;
// the median of each phase for each program.
int Phases(int runs, int n, const HWND windows[], const char* const titles[], const char* file) {
    const char* names[PhaseCount] = {
        "message to the handler",
        "hide, teardown of the empty record",
        "profile reads",
        "device selection (Floor: and binding, pages)",
        "capture graph builder creation",
        "filter graph creation",
        "filter initialisation (the rest to the frame)",
        "frame (called to visible)",
        "total (posted to visible)",
    };
    return PhasesInTurns("launches", runs, n, titles, names, [&](int w, double(&one)[PhaseCount]) -> const char* {
        LONGLONG posted = 0, shown = 0;
        if (LaunchOnce(windows[w], &posted, &shown) < 0) return "the property frame did not open and close";
        if (!ReadPhases(file, posted, shown, one)) return "no timing marks from this launch";
        return nullptr;
    });
}

// The icon as the shell holds it: a change of nothing succeeds only for an icon it has.
bool IconShown(HWND window) {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

// One start, as at sign-in: from the process's creation until its icon is in the tray
// and its window hidden for good; then its Exit command, and its end. The time in
// milliseconds, or a negative number when it did not come up or go. Wine reports no
// window's showing or hiding to an observer, and a program can be idle, its icon up and
// its window not yet shown (Navolet's dialog shows when its message loop first runs
// dry, and Wine's loop may show it once more after the first paint hid it): so the
// state is watched, and the start ends where its last stretch of "icon up, window
// hidden" began, once that has held for settle ms and a message has come through.
double StartOnce(const char* command, const char* title, LONGLONG* created = nullptr, LONGLONG* seen = nullptr) {
    const WPARAM exitCommand = 32773;
    const double settle = 150;
    if (!WaitFor(10000, [&] { return FindWindowA(nullptr, title) == nullptr; })) return -1;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = command;
    LONGLONG start = Ticks();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    HWND window = nullptr;
    bool icon = false;  // once in the tray, it stays until the Exit command
    LONGLONG since = 0;
    bool came = WaitFor(20000, [&] {
        if (!window) window = FindWindowA(nullptr, title);
        bool hidden = window && !IsWindowVisible(window);
        if (hidden && !icon) icon = IconShown(window);
        if (!hidden || !icon) {
            since = 0;
            return false;
        }
        // Read once the state is known, not before: the shell may add the icon while it
        // is being asked for it.
        LONGLONG now = Ticks();
        if (!since) since = now;
        return Milliseconds(now - since) > settle && WaitForInputIdle(process.hProcess, 0) == 0 &&
               WaitIdle(window) && !IsWindowVisible(window);
    });
    if (window) PostMessageA(window, WM_COMMAND, exitCommand, 0);
    bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (created) *created = start;
    if (seen) *seen = since;
    return came && ended ? Milliseconds(since - start) : -1;
}

int Startup(int runs, int n, const char* const commands[], const char* const titles[]) {
    return TimesInTurns(runs, n, titles, [&](int w) { return StartOnce(commands[w], titles[w]); },
                        "a program did not come up with its icon, or did not end");
}

// The phases of one start, cut at the marks the program left in file on its way out; a
// phase whose marks the program does not pass reads 0.
enum StartPhase {
    Loading, ToWindow, WindowCreation, ToIcon, SystemMenu, WindowIcons, MenuLoading, Registration, IconAddition,
    ComSetup, ShowAndPaint, Hiding, Seen, StartTotal,
    StartPhaseCount
};

bool ReadStartPhases(const char* file, LONGLONG created, LONGLONG seen, double (&phases)[StartPhaseCount]) {
    LONGLONG m[StartMarkCount] = {};
    if (!ReadMarks(file, m) || m[Entry] < created || m[IconAdd] > seen) return false;
    auto span = [&](StartMark from, StartMark to) { return m[from] && m[to] ? Milliseconds(m[to] - m[from]) : 0.0; };
    StartMark beforeShow = m[ComReady] ? ComReady : IconAdded;
    phases[Loading] = Milliseconds(m[Entry] - created);
    phases[ToWindow] = span(Entry, WindowCreate);
    phases[WindowCreation] = span(WindowCreate, WindowMade);
    phases[ToIcon] = span(WindowMade, IconAdd);
    phases[SystemMenu] = span(WindowMade, IconsSet);
    phases[WindowIcons] = span(IconsSet, MenuLoad);
    phases[MenuLoading] = span(MenuLoad, Registered);
    phases[Registration] = span(Registered, IconAdd);
    phases[IconAddition] = span(IconAdd, IconAdded);
    phases[ComSetup] = span(IconAdded, ComReady);
    phases[ShowAndPaint] = span(beforeShow, HideCalled);
    phases[Hiding] = span(HideCalled, HideDone);
    phases[Seen] = Milliseconds(seen - m[m[HideDone] ? HideDone : IconAdded]);
    phases[StartTotal] = Milliseconds(seen - created);
    return true;
}

// Starts of the timing build and the floor in turns, as in Startup, each cut into phases.
int StartupPhases(int runs, int n, const char* const commands[], const char* const titles[], const char* file) {
    const char* names[StartPhaseCount] = {
        "creation to WinMain (loading, runtime, statics)",
        "WinMain to the window asked for (floors: DLLs)",
        "window creation (Navolet: to WM_INITDIALOG)",
        "to the icon: all of it",
        "  Navolet: the system menu's About entry",
        "  Navolet: the window's icons (WM_SETICON)",
        "  Navolet: the tray record, the menu loaded",
        "  Navolet: \"TaskbarCreated\" registered",
        "Shell_NotifyIconA(NIM_ADD)",
        "after the icon: common controls, COM",
        "shown, to the first paint",
        "hidden (ShowWindow SW_HIDE)",
        "hidden (floor: icon added) to seen by the driver",
        "total (creation to seen)",
    };
    SetEnvironmentVariableA("NAVOLET_START_FILE", file);
    int result = PhasesInTurns("starts", runs, n, titles, names, [&](int w, double(&one)[StartPhaseCount]) -> const char* {
        LONGLONG created = 0, seen = 0;
        DeleteFileA(file);
        if (StartOnce(commands[w], titles[w], &created, &seen) < 0) return "a program did not come up or go";
        if (!ReadStartPhases(file, created, seen, one)) return "no start marks from this start";
        return nullptr;
    });
    SetEnvironmentVariableA("NAVOLET_START_FILE", nullptr);
    return result;
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


// The CPU time a process has used, in milliseconds.
double CpuMilliseconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return static_cast<double>(k.QuadPart + u.QuadPart) / 10000.0;
}

// Wine 8 answers GetProcessTimes for another process with the caller's own times: a
// reading equal to the driver's own is no reading of the program's.
int IdleCpu(int seconds, int n, const HWND windows[], const char* const titles[]) {
    HANDLE processes[maxPrograms];
    double before[maxPrograms];
    for (int w = 0; w < n; ++w) {
        processes[w] = OpenOwner(windows[w]);
        if (!processes[w]) return Fail("cannot open the program's process");
        before[w] = CpuMilliseconds(processes[w]);
    }
    Sleep(static_cast<DWORD>(seconds) * 1000);
    std::printf("CPU time over %d s of idle (GetProcessTimes):", seconds);
    for (int w = 0; w < n; ++w) {
        double now = CpuMilliseconds(processes[w]);
        if (now == CpuMilliseconds(GetCurrentProcess()))
            std::printf("%s %s not counted by this platform", w ? "," : "", Label(titles[w], w));
        else
            std::printf("%s %s %.1f ms", w ? "," : "", Label(titles[w], w), now - before[w]);
        CloseHandle(processes[w]);
    }
    std::printf("\n");
    return 0;
}

int ResourcesNow(int n, const HWND windows[], const char* const titles[]) {
    Resources r[maxPrograms];
    const char* labels[maxPrograms];
    for (int w = 0; w < n; ++w) {
        HANDLE process = OpenOwner(windows[w]);
        if (!process) return Fail("cannot open the program's process");
        r[w] = MeasureProcess(process, ownerPid);
        labels[w] = Label(titles[w], w);
        CloseHandle(process);
    }
    PrintResourceTable(n, labels, r);
    return 0;
}

}  // namespace

HWND FindProgram(const char* title) {
    HWND window = nullptr;
    WaitFor(20000, [&] { return (window = FindWindowA(nullptr, title)) != nullptr; });
    return window;
}

int Usage() {
    std::puts("usage: BenchDriver alternate RUNS TITLE FLOOR... | phases RUNS FILE TITLE FLOOR... |\n"
              "  startup RUNS COMMAND TITLE... | startup-phases RUNS FILE COMMAND TITLE... | soak TITLE RUNS [PER] | resources TITLE... |\n"
              "  idle-cpu SECONDS TITLE...");
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    std::string command = argv[1];
    if (command == "soak") {
        HWND window = FindProgram(argv[2]);
        int runs = argc > 3 ? std::atoi(argv[3]) : 0;
        if (runs <= 0) return Usage();
        if (!window) return Fail("no window with that title");
        return Soak(window, runs, argc > 4 ? std::atoi(argv[4]) : 0);
    }
    if (command == "startup" || command == "startup-phases") {
        bool phases = command == "startup-phases";
        int runs = std::atoi(argv[2]);
        int first = phases ? 4 : 3;
        int n = (argc - first) / 2;
        if (runs <= 0 || n < 1 || n > maxPrograms || (argc - first) % 2) return Usage();
        const char* commands[maxPrograms];
        const char* titles[maxPrograms];
        for (int w = 0; w < n; ++w) commands[w] = argv[first + 2 * w], titles[w] = argv[first + 1 + 2 * w];
        return phases ? StartupPhases(runs, n, commands, titles, argv[3]) : Startup(runs, n, commands, titles);
    }
    // The other commands: a number, for phases a file, then the programs' titles.
    bool resources = command == "resources";
    int first = resources ? 2 : command == "phases" ? 4 : 3;
    int number = resources ? 1 : std::atoi(argv[2]);
    int n = argc - first;
    if (number <= 0 || n < 1 || n > maxPrograms) return Usage();
    const char* const* titles = argv + first;
    HWND windows[maxPrograms];
    for (int w = 0; w < n; ++w)
        if (!(windows[w] = FindProgram(titles[w]))) return Fail("no window with that title");
    if (command == "alternate") return Alternate(number, n, windows, titles);
    if (command == "phases") return Phases(number, n, windows, titles, argv[3]);
    if (command == "idle-cpu") return IdleCpu(number, n, windows, titles);
    if (resources) return ResourcesNow(n, windows, titles);
    return Usage();
}
