// The code page for the camera's name: chosen once per process, by the system's version.
#include "capture/CaptureState.h"
#include "doubles/SeamOverride.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

struct System {
    DWORD platformId;
    DWORD majorVersion;
    const char* localeCodePage;  // null: GetLocaleInfoA fails
};
System system;
int versionCalls, localeCalls;
DWORD versionRecordSize;

BOOL WINAPI FakeGetVersionExA(LPOSVERSIONINFOA info) {
    ++versionCalls;
    versionRecordSize = info->dwOSVersionInfoSize;
    info->dwPlatformId = system.platformId;
    info->dwMajorVersion = system.majorVersion;
    return TRUE;
}

int WINAPI FakeGetLocaleInfoA(LCID, LCTYPE type, LPSTR text, int size) {
    ++localeCalls;
    if (!system.localeCodePage || type != LOCALE_IDEFAULTANSICODEPAGE) return 0;
    int n = static_cast<int>(std::strlen(system.localeCodePage)) + 1;
    if (n > size) return 0;
    std::memcpy(text, system.localeCodePage, n);
    return n;
}

UINT WINAPI FakeGetACP() { return 437; }
LCID WINAPI FakeGetThreadLocale() { return 0x0411; }

struct Case {
    const char* what;
    System system;
    UINT expected;
    int localeCallsPerCall;
};

const Case cases[] = {
    {"NT 5 uses the thread's code page", {VER_PLATFORM_WIN32_NT, 5, "1252"}, CP_THREAD_ACP, 0},
    {"NT 6 uses the thread's code page", {VER_PLATFORM_WIN32_NT, 6, "1252"}, CP_THREAD_ACP, 0},
    {"NT 4 asks the locale", {VER_PLATFORM_WIN32_NT, 4, "932"}, 932, 1},
    {"Windows 98 asks the locale", {VER_PLATFORM_WIN32_WINDOWS, 4, "1251"}, 1251, 1},
    {"locale unavailable falls back to the system", {VER_PLATFORM_WIN32_NT, 4, nullptr}, 437, 1},
    {"locale reading zero falls back", {VER_PLATFORM_WIN32_NT, 4, "0"}, 437, 1},
    {"empty locale text falls back", {VER_PLATFORM_WIN32_WINDOWS, 4, ""}, 437, 1},
};

TEST(ConversionCodePage, ChoosesOnceByVersionAndFallsBackToTheSystemCodePage) {
    SeamOverride<decltype(platform::GetVersionExA)> version(platform::GetVersionExA, FakeGetVersionExA);
    SeamOverride<decltype(platform::GetLocaleInfoA)> locale(platform::GetLocaleInfoA, FakeGetLocaleInfoA);
    SeamOverride<decltype(platform::GetACP)> acp(platform::GetACP, FakeGetACP);
    SeamOverride<decltype(platform::GetThreadLocale)> thread(platform::GetThreadLocale, FakeGetThreadLocale);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetConversionCodePageForTest();
        system = c.system;
        versionCalls = localeCalls = 0;
        for (int call = 0; call < 3; ++call) EXPECT_EQ(ConversionCodePage(), c.expected);
        EXPECT_EQ(versionCalls, 1);
        EXPECT_EQ(versionRecordSize, 148u);
        EXPECT_EQ(localeCalls, 3 * c.localeCallsPerCall);
    }
    // The choice stays with the process: a different system later changes nothing.
    ResetConversionCodePageForTest();
    system = {VER_PLATFORM_WIN32_NT, 5, nullptr};
    ConversionCodePage();
    system = {VER_PLATFORM_WIN32_WINDOWS, 4, "1251"};
    EXPECT_EQ(ConversionCodePage(), static_cast<UINT>(CP_THREAD_ACP));
    ResetConversionCodePageForTest();
}

}  // namespace
