// The code page for the camera's name: chosen once per process, by the system's version.
#include "capture/CaptureState.h"
#include "doubles/SeamOverride.h"
#include <gtest/gtest.h>

namespace {

struct System {
    DWORD platformId, majorVersion;
    const char* localeCodePage;  // null: GetLocaleInfoA fails
} sys;
const struct {
    System system;
    UINT expected;
} cases[] = {
    {{VER_PLATFORM_WIN32_NT, 5, "1252"}, CP_THREAD_ACP}, {{VER_PLATFORM_WIN32_NT, 6, "1252"}, CP_THREAD_ACP},
    {{VER_PLATFORM_WIN32_NT, 4, "932"}, 932},             {{VER_PLATFORM_WIN32_WINDOWS, 4, "1251"}, 1251},
    {{VER_PLATFORM_WIN32_NT, 4, nullptr}, 437},           {{VER_PLATFORM_WIN32_NT, 4, "0"}, 437},
    {{VER_PLATFORM_WIN32_WINDOWS, 4, ""}, 437},
};
int versionCalls;

BOOL WINAPI FakeVersion(LPOSVERSIONINFOA info) {
    ++versionCalls;
    EXPECT_EQ(info->dwOSVersionInfoSize, 148u);
    info->dwPlatformId = sys.platformId, info->dwMajorVersion = sys.majorVersion;
    return TRUE;
}
int WINAPI FakeLocale(LCID, LCTYPE type, LPSTR text, int size) {
    if (!sys.localeCodePage || type != LOCALE_IDEFAULTANSICODEPAGE) return 0;
    lstrcpynA(text, sys.localeCodePage, size);
    return lstrlenA(text) + 1;
}
UINT WINAPI FakeAcp() { return 437; }

TEST(ConversionCodePage, ChosenOnceByVersionWithTheSystemCodePageAsFallback) {
    SeamOverride<decltype(platform::GetVersionExA)> version(platform::GetVersionExA, FakeVersion);
    SeamOverride<decltype(platform::GetLocaleInfoA)> locale(platform::GetLocaleInfoA, FakeLocale);
    SeamOverride<decltype(platform::GetACP)> acp(platform::GetACP, FakeAcp);
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ResetConversionCodePageForTest();
        sys = c.system;
        versionCalls = 0;
        for (int call = 0; call < 3; ++call) EXPECT_EQ(ConversionCodePage(), c.expected);
        EXPECT_EQ(versionCalls, 1);
        // The choice stays with the process: another version later changes nothing.
        sys.platformId = VER_PLATFORM_WIN32_NT, sys.majorVersion = c.system.majorVersion == 4 ? 5 : 4;
        EXPECT_EQ(ConversionCodePage(), c.expected);
    }
    ResetConversionCodePageForTest();
}

}  // namespace
