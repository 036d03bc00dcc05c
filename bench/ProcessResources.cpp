#include "ProcessResources.h"
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};

// The entries follow the count at the alignment of their pointer member: 8 bytes in on
// 64-bit Windows, not 4.
struct HandleInformation {
    ULONG count;
    HandleEntry entries[1];
};

DWORD HandleTableEntries(DWORD pid) {
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    const ULONG systemHandleInformation = 16;
    std::vector<BYTE> buffer(1 << 20);
    ULONG length = 0;
    while (query(systemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length) != 0) {
        if (buffer.size() >= (64u << 20)) return 0;
        buffer.resize(buffer.size() * 2);
    }
    const HandleInformation* table = reinterpret_cast<const HandleInformation*>(buffer.data());
    DWORD n = 0;
    for (ULONG i = 0; i < table->count; ++i) n += table->entries[i].ownerPid == pid ? 1 : 0;
    return n;
}

// Committed memory by region type: private, and images and mapped files together.
void CommittedMemory(HANDLE process, Resources& r) {
    MEMORY_BASIC_INFORMATION region;
    for (const BYTE* address = nullptr;
         VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
         address = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT) continue;
        if (region.Type == MEM_PRIVATE) r.committedPrivate += region.RegionSize;
        else r.committedShared += region.RegionSize;
    }
}

struct WindowCount {
    DWORD pid;
    DWORD n;
};

BOOL CALLBACK CountChild(HWND, LPARAM lParam) {
    ++reinterpret_cast<WindowCount*>(lParam)->n;
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM lParam) {
    WindowCount* c = reinterpret_cast<WindowCount*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->pid) {
        ++c->n;
        EnumChildWindows(hwnd, CountChild, lParam);
    }
    return TRUE;
}

}  // namespace

const Counted& PlatformCounts() {
    static Counted counted = [] {
        HANDLE self = GetCurrentProcess();
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
        HMENU menu = CreateMenu();
        DWORD handles = 0;
        GetProcessHandleCount(self, &handles);
        PROCESS_MEMORY_COUNTERS_EX memory = {};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        Counted c = {handles != 0, GetGuiResources(self, GR_GDIOBJECTS) != 0, GetGuiResources(self, GR_USEROBJECTS) != 0,
                     memory.PrivateUsage != 0};
        DestroyMenu(menu);
        DeleteObject(brush);
        return c;
    }();
    return counted;
}

Resources MeasureProcess(HANDLE process, DWORD pid) {
    Resources r;
    r.handleTable = HandleTableEntries(pid);
    WindowCount windows = {pid, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
    r.windows = windows.n;
    GetProcessHandleCount(process, &r.handles);
    r.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    r.user = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        r.privateBytes = memory.PrivateUsage;
        r.commit = memory.PagefileUsage;
        r.workingSet = memory.WorkingSetSize;
    }
    CommittedMemory(process, r);
    return r;
}

namespace {
const char notCounted[] = "not counted by this platform";

long Kilobytes(SIZE_T bytes) { return static_cast<long>(bytes / 1024); }
}  // namespace

void PrintResources(const char* when, const Resources& r) {
    const Counted& c = PlatformCounts();
    std::printf("%-5s handle table %lu, windows %lu, committed private %ld KB, commit charge %ld KB", when, r.handleTable,
                r.windows, Kilobytes(r.committedPrivate), Kilobytes(r.commit));
    if (c.handles) std::printf(", handles %lu", r.handles);
    if (c.gdi) std::printf(", GDI objects %lu", r.gdi);
    if (c.user) std::printf(", USER objects %lu", r.user);
    if (c.privateBytes) std::printf(", private bytes %lu", static_cast<unsigned long>(r.privateBytes));
    const char* missing[4];
    int m = 0;
    if (!c.handles) missing[m++] = "handles";
    if (!c.gdi) missing[m++] = "GDI objects";
    if (!c.user) missing[m++] = "USER objects";
    if (!c.privateBytes) missing[m++] = "private bytes";
    for (int i = 0; i < m; ++i) std::printf("%s%s", i ? ", " : "; not counted by this platform: ", missing[i]);
    std::printf("\n");
}

void PrintHeadings(int nameWidth, int minWidth, int n, const char* const labels[], int (&widths)[maxColumns]) {
    char headers[maxColumns][64];
    int columns = 0;
    for (int i = 0; i < n && columns < maxColumns; ++i, ++columns)
        std::snprintf(headers[columns], sizeof headers[0], "%s", labels[i]);
    for (int i = 1; i < n && columns < maxColumns; ++i, ++columns)
        std::snprintf(headers[columns], sizeof headers[0], "- %s", labels[i]);
    std::printf("  %-*s", nameWidth, "");
    for (int k = 0; k < columns; ++k) {
        widths[k] = std::max(minWidth, static_cast<int>(std::strlen(headers[k])));
        std::printf(" %*s", widths[k], headers[k]);
    }
    std::printf("\n");
}

void PrintResourceTable(int n, const char* const labels[], const Resources r[]) {
    const Counted& c = PlatformCounts();
    int widths[maxColumns];
    PrintHeadings(44, 12, n, labels, widths);
    auto row = [&](const char* name, bool counted, auto value) {
        std::printf("  %-44s", name);
        if (!counted) {
            std::printf(" %s\n", notCounted);
            return;
        }
        for (int i = 0; i < n; ++i) std::printf(" %*ld", widths[i], value(r[i]));
        for (int i = 1; i < n; ++i) std::printf(" %+*ld", widths[n - 1 + i], value(r[0]) - value(r[i]));
        std::printf("\n");
    };
    row("committed, private (KB, VirtualQueryEx)", true, [&](const Resources& x) { return Kilobytes(x.committedPrivate); });
    row("committed, images and mappings (KB)", true, [&](const Resources& x) { return Kilobytes(x.committedShared); });
    row("private bytes (KB)", c.privateBytes, [&](const Resources& x) { return Kilobytes(x.privateBytes); });
    row("commit charge as Wine counts it (KB)", true, [&](const Resources& x) { return Kilobytes(x.commit); });
    row("working set (KB)", true, [&](const Resources& x) { return Kilobytes(x.workingSet); });
    row("handles", c.handles, [](const Resources& x) { return static_cast<long>(x.handles); });
    row("entries in the system handle table", true, [](const Resources& x) { return static_cast<long>(x.handleTable); });
    row("GDI objects", c.gdi, [](const Resources& x) { return static_cast<long>(x.gdi); });
    row("USER objects", c.user, [](const Resources& x) { return static_cast<long>(x.user); });
    row("windows", true, [](const Resources& x) { return static_cast<long>(x.windows); });
}

bool ResourcesGrew(const Resources& first, const Resources& last, long extraHandles) {
    const SIZE_T memory = 2 * 1024 * 1024;
    if (first.handleTable == 0 || last.handleTable == 0) return true;
    return last.handles > first.handles + 16 ||
           static_cast<long>(last.handleTable) > static_cast<long>(first.handleTable) + 16 + extraHandles ||
           last.gdi > first.gdi + 8 || last.user > first.user + 8 || last.windows > first.windows + 8 ||
           last.privateBytes > first.privateBytes + memory || last.commit > first.commit + memory ||
           last.committedPrivate > first.committedPrivate + memory;
}
