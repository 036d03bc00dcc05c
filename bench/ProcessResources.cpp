#include "ProcessResources.h"
#include <psapi.h>
#include <cstdio>
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
    }
    return r;
}

void PrintResources(const char* when, const Resources& r) {
    std::printf("%-5s handles %lu (handle table %lu), GDI objects %lu, USER objects %lu (windows %lu), "
                "private bytes %lu (commit %lu)\n",
                when, r.handles, r.handleTable, r.gdi, r.user, r.windows, static_cast<unsigned long>(r.privateBytes),
                static_cast<unsigned long>(r.commit));
}

bool ResourcesGrew(const Resources& first, const Resources& last, long extraHandles) {
    const SIZE_T memory = 2 * 1024 * 1024;
    if (first.handleTable == 0 || last.handleTable == 0) return true;
    return last.handles > first.handles + 16 || static_cast<long>(last.handleTable) > static_cast<long>(first.handleTable) + 16 + extraHandles ||
           last.gdi > first.gdi + 8 || last.user > first.user + 8 || last.windows > first.windows + 8 ||
           last.privateBytes > first.privateBytes + memory || last.commit > first.commit + memory;
}
