// The manifest as Windows reads it: Wine's activation context made from Navolet.exe's own.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

TEST(Manifest, VisualStylesDpiAwarenessTheSupportedSystemsAndNoElevation) {
    char path[MAX_PATH];
    std::string exe(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    exe.erase(exe.rfind("\\tests\\")) += "\\Navolet.exe";
    ACTCTXA request = {sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, exe.c_str(), 0, 0, nullptr,
                       CREATEPROCESS_MANIFEST_RESOURCE_ID, nullptr, nullptr};
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no manifest Windows can read, error " << GetLastError();
    // Common controls 6 is the only assembly of its name: comctl32.dll comes from it then.
    ULONG_PTR cookie = 0;
    ACTCTX_SECTION_KEYED_DATA controls = {};
    controls.cbSize = sizeof controls;
    ActivateActCtx(context, &cookie);
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, "comctl32.dll", &controls));
    DeactivateActCtx(0, cookie);
    WCHAR aware[64] = L"", awareness[64] = L"";
    QueryActCtxSettingsW(0, context, nullptr, L"dpiAware", aware, 64, nullptr);
    QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                         awareness, 64, nullptr);
    EXPECT_STREQ(aware, L"true/pm");
    EXPECT_STREQ(awareness, L"PerMonitorV2, PerMonitor");
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    DWORD systems[64] = {};  // their count, then the entries
    QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr);
    QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, systems, sizeof systems, nullptr);
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(systems[0], 5u) << "Vista, 7, 8, 8.1, 10 and 11";
    ReleaseActCtx(context);
}
