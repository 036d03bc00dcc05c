#pragma once
// The counter readings a timed launch leaves for BenchDriver's "phases": one line of
// MarkCount numbers in this order, 0 for a mark the program does not pass, written to the
// file named by NAVOLET_TIMING_FILE after each launch. Navolet's timing build and the
// required floor pass them all; the first floor passes Launch, Devices and Frame.
// A timed start leaves StartMarkCount readings in the file named by NAVOLET_START_FILE
// when the program is told to exit, for BenchDriver's "startup" (the counter is the same
// in every process).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

enum Mark {
    Launch,       // the double-click handled
    Profile,      // the first profile read
    Devices,      // the device enumerator created
    Builder,      // the capture graph builder created ...
    BuilderDone,  // ... and back
    Graph,        // the filter graph created ...
    GraphDone,    // ... and back
    Frame,        // the property frame called
    MarkCount
};

enum StartMark {
    Entry,         // WinMain entered: the executable and its DLLs loaded, static objects built
    WindowCreate,  // the window asked for (Navolet: its modal dialog)
    WindowMade,    // the window made (Navolet: WM_INITDIALOG, the first call of its handler)
    IconsSet,      // Navolet: the window's icons set (WM_SETICON) ...
    MenuLoad,      // ... its menu loaded ...
    Registered,    // ... "TaskbarCreated" registered
    IconAdd,       // Shell_NotifyIconA(NIM_ADD) called ...
    IconAdded,     // ... and back
    ComReady,      // CoInitialize back (Navolet only)
    HideCalled,    // the window hidden at its first paint ...
    HideDone,      // ... and back
    StartMarkCount
};

inline LONGLONG CounterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

template <int N>
void WriteMarks(const LONGLONG (&marks)[N], const char* variable = "NAVOLET_TIMING_FILE") {
    const char* name = std::getenv(variable);
    FILE* file = name ? std::fopen(name, "w") : nullptr;
    if (!file) return;
    for (LONGLONG m : marks) std::fprintf(file, "%lld ", m);
    std::fprintf(file, "\n");
    std::fclose(file);
}

inline void WriteStartMarks(const LONGLONG (&marks)[StartMarkCount]) { WriteMarks(marks, "NAVOLET_START_FILE"); }

// The readings WriteMarks left in file; false unless all N were there.
template <int N>
bool ReadMarks(const char* name, LONGLONG (&marks)[N]) {
    int read = 0;
    if (FILE* file = std::fopen(name, "r")) {
        for (LONGLONG& m : marks) read += std::fscanf(file, "%lld", &m);
        std::fclose(file);
    }
    return read == N;
}
