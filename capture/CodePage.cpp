// The code page for turning the camera's narrow name into a wide one. How to find it
// is decided once per process, by the system's version.
#include "capture/CaptureState.h"
#include "platform/Seam.h"

namespace {
typedef UINT (*CodePageSource)();

UINT SelectCodePageSource();

// The source is swapped atomically: as a LONG where a function pointer is 32 bits wide,
// as a pointer where it is wider.
#ifdef _WIN64
static_assert(sizeof(CodePageSource) == sizeof(PVOID), "a function pointer fits a pointer");
PVOID volatile codePageSource = reinterpret_cast<PVOID>(&SelectCodePageSource);

void InstallCodePageSource(CodePageSource source) {
    InterlockedExchangePointer(&codePageSource, reinterpret_cast<PVOID>(source));
}
#else
static_assert(sizeof(CodePageSource) == sizeof(LONG), "a function pointer fits a LONG");
volatile LONG codePageSource = reinterpret_cast<LONG>(&SelectCodePageSource);

void InstallCodePageSource(CodePageSource source) {
    InterlockedExchange(&codePageSource, reinterpret_cast<LONG>(source));
}
#endif

UINT ThreadAnsiCodePage() { return CP_THREAD_ACP; }

// Older systems: the thread locale's default ANSI code page, or the system's.
UINT LocaleAnsiCodePage() {
    char text[7] = "";
    UINT number = 0;
    if (platform::GetLocaleInfoA(platform::GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, text,
                                 sizeof text) != 0 &&
        text[0] != '\0') {
        for (const char* c = text; *c; ++c) number = number * 10 + (*c - '0');
    }
    return number != 0 ? number : platform::GetACP();
}

UINT SelectCodePageSource() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    platform::GetVersionExA(&version);
    CodePageSource chosen =
        version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5
            ? ThreadAnsiCodePage
            : LocaleAnsiCodePage;
    InstallCodePageSource(chosen);
    return chosen();
}
}  // namespace

UINT ConversionCodePage() {
    return reinterpret_cast<CodePageSource>(codePageSource)();
}

void ResetConversionCodePageForTest() { InstallCodePageSource(&SelectCodePageSource); }
