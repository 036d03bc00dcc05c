#pragma once
// A process's resource counts as the soak and the benchmark read them.
#include <windows.h>

// Wine answers GetProcessHandleCount and GetGuiResources with 0 and leaves PrivateUsage
// at 0, so each figure comes with a second reading that Wine does give: the process's
// entries in the system handle table, its windows, its commit charge (PagefileUsage).
struct Resources {
    DWORD handles = 0, handleTable = 0, gdi = 0, user = 0, windows = 0;
    SIZE_T privateBytes = 0, commit = 0;
};

// The counts of the process behind handle (opened with PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ), whose id is pid.
Resources MeasureProcess(HANDLE process, DWORD pid);
void PrintResources(const char* when, const Resources& r);
// More than a small allowance of growth from first to last; extraHandles is the growth of
// the handle table that the platform itself accounts for. A handle table without any of
// the process's entries was not read, and then no growth can be ruled out.
bool ResourcesGrew(const Resources& first, const Resources& last, long extraHandles);
