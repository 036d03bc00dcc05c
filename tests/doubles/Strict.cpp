#include "doubles/Strict.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace strict {

bool on = true;

void Poison(void* bytes, size_t size) { std::memset(bytes, 0xA5, size); }

namespace {

// The task allocator's blocks, seen through its spy from every thread that allocates.
CRITICAL_SECTION lock;
std::set<const void*> live, watched;
const void* lastAllocated;
ptrdiff_t bstrOffset = -1;  // from the block to the string, found at start

struct Guard {
    Guard() { EnterCriticalSection(&lock); }
    ~Guard() { LeaveCriticalSection(&lock); }
};

struct Spy : IMallocSpy {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = this, S_OK; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        Guard g;
        if (block) live.insert(block), lastAllocated = block;
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, WINBOOL) override {
        Guard g;
        return live.erase(block), watched.erase(block), block;
    }
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T bytes, void** real, WINBOOL) override {
        Guard g;
        return live.erase(block), watched.erase(block), *real = block, bytes;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, WINBOOL) override {
        Guard g;
        if (block) live.insert(block);
        return block;
    }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T bytes) override { return bytes; }
    void* STDMETHODCALLTYPE PreGetSize(void* block, WINBOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T bytes, WINBOOL) override { return bytes; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, WINBOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, WINBOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PostFree(WINBOOL) override {}
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
} spy;

std::string complaints;

char text[160];
#define COMPLAIN(...) (std::snprintf(text, sizeof text, __VA_ARGS__), Complain(text))

// The strict seams, each in front of the real operation.
decltype(&::VariantClear) realVariantClear;
decltype(&::SysFreeString) realSysFreeString;
decltype(&::CoTaskMemFree) realCoTaskMemFree;

void PoisonAllButType(VARIANTARG* variant) {
    Poison(reinterpret_cast<char*>(variant) + sizeof variant->vt, sizeof *variant - sizeof variant->vt);
}

// Sets vt and nothing else.
void WINAPI VariantInit(VARIANTARG* variant) {
    PoisonAllButType(variant);
    variant->vt = VT_EMPTY;
}

// Only vt is defined after clearing.
HRESULT WINAPI VariantClear(VARIANTARG* variant) {
    if (variant->vt == VT_BSTR && variant->bstrVal && !IsBstr(variant->bstrVal)) {
        COMPLAIN("VariantClear of a BSTR %p no one handed out; ", static_cast<void*>(variant->bstrVal));
        return variant->vt = VT_EMPTY, S_OK;
    }
    HRESULT hr = realVariantClear(variant);
    if (SUCCEEDED(hr)) PoisonAllButType(variant);
    return hr;
}

void WINAPI SysFreeString(BSTR string) {
    if (string && !IsBstr(string))
        return (void)COMPLAIN("SysFreeString of %p, no BSTR handed out; ", static_cast<void*>(string));
    realSysFreeString(string);
}

void WINAPI CoTaskMemFree(LPVOID block) {
    if (block && !IsTaskBlock(block))
        return (void)COMPLAIN("CoTaskMemFree of %p, no block the task allocator handed out; ", block);
    realCoTaskMemFree(block);
}

template <auto& slot, class F>
void Replace(F& real, F strict) { real = slot, slot = strict; }

// Complaints no fault point took fail the test they came up in.
struct Reporter : testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        std::string left = TakeComplaints();
        if (!left.empty()) ADD_FAILURE() << left;
    }
};

}  // namespace

bool IsTaskBlock(const void* block) {
    Guard g;
    return live.count(block) != 0;
}

bool IsBstr(BSTR string) { return bstrOffset >= 0 && IsTaskBlock(reinterpret_cast<const char*>(string) - bstrOffset); }

void Watch(void* block) {
    Guard g;
    watched.insert(block);
}

int Watched() {
    Guard g;
    return static_cast<int>(watched.size());
}

void Complain(const std::string& what) { complaints += what; }

std::string TakeComplaints() {
    std::string taken;
    return taken.swap(complaints), taken;
}

void FailedMethod(IKsPropertySet*, REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
    if (data) Poison(data, size);
    Spoil(returned);
}

void Failed(decltype(&::GetVersionExA), LPOSVERSIONINFOA version) {
    if (version) Poison(&version->dwMajorVersion, sizeof *version - sizeof version->dwOSVersionInfoSize);
}

void Failed(decltype(&::GetLocaleInfoA), LCID, LCTYPE, LPSTR value, int size) {
    if (value && size > 0) Poison(value, static_cast<size_t>(size));
}

void Failed(decltype(&::MultiByteToWideChar), UINT, DWORD, LPCCH, int, LPWSTR to, int size) {
    if (to && size > 0) Poison(to, static_cast<size_t>(size) * sizeof(WCHAR));
}

void Install() {
    InitializeCriticalSection(&lock);
    EXPECT_EQ(CoRegisterMallocSpy(&spy), S_OK);
    testing::UnitTest::GetInstance()->listeners().Append(new Reporter);
    const char* setting = std::getenv("NAVOLET_STRICT");
    on = !setting || std::strcmp(setting, "0") != 0;
    if (!on) return (void)std::printf("Strict doubles off (NAVOLET_STRICT=0)\n");
    // Without the string cache every BSTR is a block of its own, allocated and freed where
    // the spy sees it.
    if (auto noCache = reinterpret_cast<void(WINAPI*)()>(GetProcAddress(GetModuleHandleA("oleaut32.dll"), "SetOaNoCache")))
        noCache();
    BSTR probe = ::SysAllocString(L"probe");
    {
        Guard g;
        bstrOffset = reinterpret_cast<const char*>(probe) - static_cast<const char*>(lastAllocated);
    }
    EXPECT_TRUE(bstrOffset > 0 && bstrOffset <= 16) << "a BSTR " << bstrOffset << " bytes into its block";
    ::SysFreeString(probe);
    EXPECT_FALSE(IsBstr(probe)) << "the string cache is still on";

    platform::VariantInit = &VariantInit;
    Replace<platform::VariantClear>(realVariantClear, &VariantClear);
    Replace<platform::SysFreeString>(realSysFreeString, &SysFreeString);
    Replace<platform::CoTaskMemFree>(realCoTaskMemFree, &CoTaskMemFree);
}

}  // namespace strict
