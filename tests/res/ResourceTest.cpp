// The resources as built into Navolet.exe, read back the way the loader reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Win.h"
#include "res/resource.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Navolet.exe sits at the top of the build folder, two levels above this test.
std::string NavoletPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    for (int up = 0; up < 3; ++up) p.erase(p.find_last_of("\\/"));
    return p + "\\Navolet.exe";
}

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExA(NavoletPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << NavoletPath();
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }
    Bytes Load(LPCSTR type, UINT id, WORD language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) {
        HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
        if (!found) return {};
        auto data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
        return Bytes(data, data + SizeofResource(module, found));
    }
    HMODULE module = nullptr;
};

// Builds a template the way the format lays it out, for comparison.
struct Writer {
    Bytes b;
    void Word(unsigned w) { b.push_back(w & 0xFF); b.push_back(w >> 8 & 0xFF); }
    void Dword(unsigned long d) { Word(d & 0xFFFF); Word(d >> 16); }
    void Text(const char16_t* s) { do Word(*s); while (*s++); }
    void Ordinal(unsigned id) { Word(0xFFFF); Word(id); }
    void Align() { while (b.size() % 4) b.push_back(0); }
};

void Item(Writer& w, unsigned long style, int x, int y, int cx, int cy, unsigned id, unsigned cls,
          const char16_t* text, unsigned image = 0) {
    w.Align();
    w.Dword(style); w.Dword(0);
    w.Word(x); w.Word(y); w.Word(cx); w.Word(cy); w.Word(id);
    w.Ordinal(cls);
    if (image) w.Ordinal(image); else w.Text(text);
    w.Word(0);
}

TEST_F(Resources, AboutBoxIsTheClassicTemplate) {
    Writer w;
    w.Dword(0x80C800C0); w.Dword(0); w.Word(4);
    w.Word(0); w.Word(0); w.Word(235); w.Word(55);
    w.Word(0); w.Word(0); w.Text(u"About Navolet");
    w.Word(8); w.Text(u"MS Sans Serif");
    Item(w, 0x50000003, 11, 17, 20, 20, 0xFFFF, 0x82, nullptr, IDR_MAINFRAME);
    Item(w, 0x50020080, 40, 10, 119, 8, 0xFFFF, 0x82, u"Navolet Version 1.0");
    Item(w, 0x50020000, 40, 25, 119, 8, 0xFFFF, 0x82, u"Camera settings from the tray");
    Item(w, 0x50030001, 178, 7, 50, 14, IDOK, 0x80, u"OK");
    EXPECT_EQ(Load(RT_DIALOG, IDD_ABOUTBOX), w.b);
}

TEST_F(Resources, TrayWindowIsTheExtendedTemplate) {
    Writer w;
    w.Word(1); w.Word(0xFFFF); w.Dword(0); w.Dword(0x00040000); w.Dword(0x90C000C0);
    w.Word(0); w.Word(0); w.Word(0); w.Word(369); w.Word(257);
    w.Word(0); w.Word(0); w.Text(u"Navolet-Quendal Property Page");
    w.Word(8); w.Word(0); w.b.push_back(0); w.b.push_back(1); w.Text(u"MS Sans Serif");
    EXPECT_EQ(Load(RT_DIALOG, IDD_TRAY_DIALOG), w.b);
}

TEST_F(Resources, TrayMenuInFourLanguages) {
    struct Case {
        WORD language;
        const char16_t* launch;
        const char16_t* exit;
    } cases[] = {
        {1033, u"&Launch ...", u"E&xit"},
        {1028, u"\u555F\u52D5 ...", u"\u96E2\u958B"},
        {1041, u"\u59CB\u52D5\u3057\u305F ...", u"\u96E2\u308C\u305F"},
        {2052, u"\u542F\u52A8 ...", u"\u79BB\u5F00"},
    };
    for (const Case& c : cases) {
        Writer w;
        w.Word(0); w.Word(0);
        w.Word(0x90); w.Text(u"EXIT");
        w.Word(0); w.Word(ID_TRAY_LAUNCH); w.Text(c.launch);
        w.Word(0x80); w.Word(ID_TRAY_EXIT); w.Text(c.exit);
        EXPECT_EQ(Load(RT_MENU, IDR_TRAY_MENU, c.language), w.b) << "language " << c.language;
    }
}

TEST_F(Resources, Strings) {
    struct Case {
        UINT id;
        const char* text;
    } cases[] = {{IDS_ABOUTBOX, "&About Navolet..."}, {ID_TRAY_LAUNCH, "VProperty Page"},
                 {ID_TRAY_EXIT, "Quendal KVX410RB Camera"}};
    for (const Case& c : cases) {
        char text[256] = "";
        LoadStringA(module, c.id, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.id;
    }
}

TEST_F(Resources, IconGroupHoldsNineUncompressedImages) {
    struct Case {
        int size, depth;
        DWORD bytes;
    } cases[] = {{48, 4, 1640}, {32, 4, 744}, {16, 4, 296}, {48, 8, 3752}, {32, 8, 2216},
                 {16, 8, 1384}, {48, 32, 9640}, {32, 32, 4264}, {16, 32, 1128}};
    Bytes group = Load(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_EQ(group.size(), 6u + 14 * 9);
    EXPECT_EQ(group[4], 9);
    for (int i = 0; i < 9; ++i) {
        const unsigned char* e = &group[6 + 14 * i];
        const Case& c = cases[i];
        EXPECT_TRUE(e[0] == c.size && (e[6] | e[7] << 8) == c.depth &&
                    DWORD(e[8] | e[9] << 8 | e[10] << 16 | e[11] << 24) == c.bytes) << i;
        Bytes image = Load(RT_ICON, e[12] | e[13] << 8);
        ASSERT_EQ(image.size(), c.bytes) << i;
        auto header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        // colour image and mask, uncompressed
        EXPECT_TRUE(header->biSize == 40 && header->biWidth == c.size && header->biHeight == 2 * c.size &&
                    header->biBitCount == c.depth && header->biCompression == BI_RGB) << i;
    }
}

TEST(Version, Strings) {
    std::string path = NavoletPath();
    DWORD handle = 0;
    Bytes data(GetFileVersionInfoSizeA(path.c_str(), &handle));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, data.size(), data.data()));

    UINT length = 0;
    struct Case {
        const char* key;
        const char* value;
    } cases[] = {{"CompanyName", "Quendal"}, {"FileDescription", "Navolet "}, {"FileVersion", "1.0.0.5"},
                 {"InternalName", "Navolet"}, {"LegalCopyright", "Copyright (C) 2026 the Navolet authors"},
                 {"OriginalFilename", "Navolet.exe"}, {"ProductName", "Navolet Application"},
                 {"ProductVersion", "1.0.0.5"}};
    for (const Case& c : cases) {
        char* value = nullptr;
        std::string query = std::string("\\StringFileInfo\\040904b0\\") + c.key;
        ASSERT_TRUE(VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << c.key;
        EXPECT_STREQ(value, c.value) << c.key;
    }
}

}  // namespace
