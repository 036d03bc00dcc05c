// Every resource of Navolet.exe, byte for byte: type, name, language, size and a hash of
// its bytes, in the order the loader lists them. The list was taken from the resources once
// each had been checked field by field against its layout (dialog templates, the menu in
// its four languages, the strings, the nine icon images, the version block) and the
// manifest as the system reads it (common controls 6, per-monitor DPI awareness, Vista to
// 11, asInvoker); any change to a resource shows as the row that differs.
#include <gtest/gtest.h>

#include "platform/Win.h"

namespace {

std::vector<std::string> rows;
HMODULE navolet;

std::string Id(LPCSTR name) { return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<UINT_PTR>(name)) : name; }

BOOL CALLBACK Language(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR) {
    HRSRC found = FindResourceExA(module, type, name, language);
    auto bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    DWORD size = SizeofResource(module, found), hash = 2166136261u;  // FNV-1a
    for (DWORD i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    char row[80];
    snprintf(row, sizeof row, "%s %s %u %lu %08lx", Id(type).c_str(), Id(name).c_str(), language, size, hash);
    return rows.push_back(row), TRUE;
}
BOOL CALLBACK Name(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR) {
    return EnumResourceLanguagesA(module, type, name, &Language, 0);
}
BOOL CALLBACK Type(HMODULE module, LPSTR type, LONG_PTR) { return EnumResourceNamesA(module, type, &Name, 0); }

}  // namespace

TEST(Resources, EveryResourceIsAsChecked) {
    char path[MAX_PATH];
    std::string exe(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    exe.erase(exe.rfind("\\tests\\")) += "\\Navolet.exe";  // at the top of the build folder
    ASSERT_TRUE(navolet = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) << exe;
    EnumResourceTypesA(navolet, &Type, 0);
    FreeLibrary(navolet);
    EXPECT_EQ(rows, (std::vector<std::string>{
        // the nine icon images: 48, 32 and 16 pixels in 4, 8 and 32 bits
        "3 1 1033 1640 af6831e7", "3 2 1033 744 cb669acc", "3 3 1033 296 d4076764",
        "3 4 1033 3752 699636f5", "3 5 1033 2216 ea5c9663", "3 6 1033 1384 a5f594c2",
        "3 7 1033 9640 fbb2b2a9", "3 8 1033 4264 63a0df13", "3 9 1033 1128 51bc0e3d",
        // the tray menu in Chinese (Taiwan), English, Japanese and Chinese (PRC)
        "4 129 1028 44 29619776", "4 129 1033 60 ea68ab28", "4 129 1041 50 710c3225", "4 129 2052 44 1e455fc9",
        // the About box and the tray window
        "5 100 1033 286 68131130", "5 102 1033 124 8e4d2433",
        // the strings 101, 32771 and 32773
        "6 7 1033 66 caa51422", "6 2049 1033 106 8531b571",
        // the icon group, the version block, the manifest
        "14 128 1033 132 94d86100", "16 1 1033 728 e7a1e8cf", "24 1 1033 1792 ec08dc5a"}));
}
