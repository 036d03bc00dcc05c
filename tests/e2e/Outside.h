#pragma once
// What the programs that look at Navolet from outside share: numbers from the command
// line, polling for a condition, and the failure line the scripts print.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

inline unsigned long Number(const char* text) { return std::strtoul(text, nullptr, 0); }

// Polls a condition every 50 ms for up to the given seconds.
template <class Condition>
bool WaitFor(double seconds, Condition condition) {
    for (DWORD start = GetTickCount();; Sleep(50)) {
        if (condition()) return true;
        if (GetTickCount() - start > seconds * 1000) return false;
    }
}

inline int Fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    return 1;
}
