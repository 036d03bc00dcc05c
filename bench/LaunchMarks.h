#pragma once
// The counter readings a timed launch leaves for BenchDriver's "phases": one line of
// MarkCount numbers in this order, 0 for a mark the program does not pass, written to the
// file named by NAVOLET_TIMING_FILE after each launch. Navolet's timing build passes them
// all; the floor program passes Launch, Devices and Frame.
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

inline LONGLONG CounterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline void WriteMarks(const LONGLONG (&marks)[MarkCount]) {
    const char* name = std::getenv("NAVOLET_TIMING_FILE");
    FILE* file = name ? std::fopen(name, "w") : nullptr;
    if (!file) return;
    for (LONGLONG m : marks) std::fprintf(file, "%lld ", m);
    std::fprintf(file, "\n");
    std::fclose(file);
}
