#pragma once
// Every platform operation the program's own code calls goes through these pointers.
// Production points each at the real function; a test swaps the ones it needs and puts
// them back.
#include "platform/Win.h"

#ifndef _WIN64
// The 32-bit headers name the pointer-sized window-long call only by a macro for
// SetWindowLongA, which has the same signature there; a macro cannot name a seam entry.
#undef SetWindowLongPtrA
inline auto& SetWindowLongPtrA = ::SetWindowLongA;
#endif

// The list is written once: the header declares each pointer from it, Seam.cpp defines
// each one pointing at the real function.
#define NAVOLET_PLATFORM_OPERATIONS(X) NAVOLET_IMPORTED_OPERATIONS(X) NAVOLET_OLEAUT32_OPERATIONS(X)
#define NAVOLET_IMPORTED_OPERATIONS(X) \
    /* Shell and user interface */ \
    X(Shell_NotifyIconA) \
    X(MessageBoxA) \
    X(TrackPopupMenu) \
    X(SetMenuDefaultItem) \
    X(GetSubMenu) \
    X(LoadMenuA) \
    X(DestroyMenu) \
    X(GetSystemMenu) \
    X(AppendMenuA) \
    X(LoadIconA) \
    X(GetCursorPos) \
    X(SetForegroundWindow) \
    X(SendMessageA) \
    X(PostMessageA) \
    X(ShowWindow) \
    X(IsIconic) \
    X(GetSystemMetrics) \
    X(GetClientRect) \
    X(DrawIcon) \
    X(InitCommonControls) \
    /* The taskbar made anew; one instance per session */ \
    X(RegisterWindowMessageA) \
    X(CreateMutexA) \
    X(GetLastError) \
    X(FindWindowA) \
    X(GetWindowThreadProcessId) \
    X(AllowSetForegroundWindow) \
    /* Framework layer: modal dialogs, subclassing, painting, strings */ \
    X(FindResourceA) \
    X(LoadResource) \
    X(LockResource) \
    X(SizeofResource) \
    X(DialogBoxIndirectParamA) \
    X(EndDialog) \
    X(CallWindowProcA) \
    X(SetWindowLongPtrA) \
    X(BeginPaint) \
    X(EndPaint) \
    X(LoadStringA) \
    X(GetModuleFileNameA) \
    /* Component objects */ \
    X(CoInitialize) \
    X(CoCreateInstance) \
    X(CoTaskMemFree) \
    /* Kernel: profile, version and locale */ \
    X(GetProfileStringA) \
    X(GetVersionExA) \
    X(GetThreadLocale) \
    X(GetLocaleInfoA) \
    X(GetACP) \
    X(MultiByteToWideChar)
// Automation (oleaut32): the property frame, strings and variants. Only a launch calls
// them, so Seam.cpp loads the DLL at the first call rather than at every start.
#define NAVOLET_OLEAUT32_OPERATIONS(X) \
    X(OleCreatePropertyFrame) \
    X(VarBstrCmp) \
    X(SysAllocStringLen) \
    X(SysFreeString) \
    X(VariantInit) \
    X(VariantClear)

namespace platform {

#define NAVOLET_DECLARE_OPERATION(name) extern decltype(&::name) name;
NAVOLET_PLATFORM_OPERATIONS(NAVOLET_DECLARE_OPERATION)
#undef NAVOLET_DECLARE_OPERATION

}  // namespace platform
