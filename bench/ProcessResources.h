#pragma once
// A process's resource counts as the soak and the benchmark read them.
#include <windows.h>

// Wine answers GetProcessHandleCount and GetGuiResources with 0 and leaves PrivateUsage
// at 0, so beside each figure there is one that Wine does give: the process's entries in
// the system handle table, its windows, its committed memory counted region by region.
struct Resources {
    DWORD handles = 0, handleTable = 0, gdi = 0, user = 0, windows = 0;
    SIZE_T privateBytes = 0, commit = 0, workingSet = 0;
    // Committed regions by their type, walked with VirtualQueryEx.
    SIZE_T committedPrivate = 0, committedShared = 0;
};

// Which counters this platform keeps: each is read once for the driver's own process,
// which holds handles, a GDI object, a USER object and private memory when it asks.
struct Counted {
    bool handles, gdi, user, privateBytes;
};
const Counted& PlatformCounts();

// The counts of the process behind handle (opened with PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ), whose id is pid.
Resources MeasureProcess(HANDLE process, DWORD pid);
void PrintResources(const char* when, const Resources& r);
// The headings of a table of programs side by side: a column for each program's figure,
// then one for the first program's figure less each other's ("- label"), each as wide as
// its heading and at least minWidth, after a first column of nameWidth for the rows' names.
const int maxColumns = 8;
void PrintHeadings(int nameWidth, int minWidth, int n, const char* const labels[], int (&widths)[maxColumns]);
// Programs side by side, one column each, with the difference of each to the first.
void PrintResourceTable(int n, const char* const labels[], const Resources r[]);
// More than a small allowance of growth from first to last; extraHandles is the growth of
// the handle table that the platform itself accounts for. A handle table without any of
// the process's entries was not read, and then no growth can be ruled out.
bool ResourcesGrew(const Resources& first, const Resources& last, long extraHandles);
