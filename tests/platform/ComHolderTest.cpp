#include <gtest/gtest.h>
#include <string>
#include "platform/ComHolder.h"
#include "doubles/SeamOverride.h"

namespace {

// Counts references and writes each AddRef and Release into a shared journal.
struct Counted : IUnknown {
    explicit Counted(char tag, std::string* journal) : tag(tag), journal(journal) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { *journal += '+'; *journal += tag; return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { *journal += '-'; *journal += tag; return --refs; }
    char tag;
    std::string* journal;
    ULONG refs = 1;
};

TEST(ComHolder, ConstructionCopyAndDestructionBalance) {
    std::string j;
    Counted a('a', &j);
    {
        ComHolder<IUnknown> h(&a);
        EXPECT_EQ(2u, a.refs);
        ComHolder<IUnknown> copy(h);
        EXPECT_EQ(3u, a.refs);
        ComHolder<IUnknown> none(nullptr);
        EXPECT_FALSE(none);
    }
    EXPECT_EQ(1u, a.refs);
    EXPECT_EQ("+a+a-a-a", j);
}

TEST(ComHolder, AssignmentAddRefsNewBeforeReleasingOld) {
    std::string j;
    Counted a('a', &j), b('b', &j);
    ComHolder<IUnknown> h(&a);
    j.clear();
    EXPECT_EQ(&b, h.Assign(&b));
    EXPECT_EQ("+b-a", j);
    j.clear();
    h = h.Get();  // self-assignment keeps the object alive throughout
    EXPECT_EQ("+b-b", j);
    EXPECT_EQ(2u, b.refs);
    h = nullptr;
    EXPECT_EQ(1u, a.refs);
    EXPECT_EQ(1u, b.refs);
}

TEST(ComHolder, AssignmentThroughAbsentHolderStoresNothing) {
    std::string j;
    Counted a('a', &j);
    ComHolder<IUnknown>* absent = nullptr;
    EXPECT_EQ(nullptr, AssignTo(absent, static_cast<IUnknown*>(&a)));
    EXPECT_EQ("", j);
    ComHolder<IUnknown> present;
    EXPECT_EQ(&a, AssignTo(&present, static_cast<IUnknown*>(&a)));
    present.Clear();
    EXPECT_EQ(1u, a.refs);
}

// Clear must empty the holder before the old object can run any code.
struct Reentrant : Counted {
    using Counted::Counted;
    ComHolder<IUnknown>* watched = nullptr;
    IUnknown* seen = reinterpret_cast<IUnknown*>(1);
    ULONG STDMETHODCALLTYPE Release() override { seen = watched->Get(); return Counted::Release(); }
};

TEST(ComHolder, ClearEmptiesBeforeRelease) {
    std::string j;
    Reentrant a('a', &j);
    ComHolder<IUnknown> h(&a);
    a.watched = &h;
    h.Clear();
    EXPECT_EQ(nullptr, a.seen);
    EXPECT_EQ(1u, a.refs);
    h.Clear();  // a second clear does nothing
    EXPECT_EQ(1u, a.refs);
}

TEST(ComHolder, ReceiveReleasesWhatWasHeld) {
    std::string j;
    Counted a('a', &j), b('b', &j);
    ComHolder<IUnknown> h(&a);
    IUnknown** slot = h.Receive();
    EXPECT_EQ(1u, a.refs);
    *slot = &b;  // as a platform call would, with the reference it handed out
    b.AddRef();
    EXPECT_EQ(&b, h.Get());
    h.Clear();
    EXPECT_EQ(1u, b.refs);
}

BOOL WINAPI RefuseTrayIcon(DWORD, PNOTIFYICONDATAA) { return FALSE; }

TEST(SeamOverride, ReplacesAndRestores) {
    auto real = platform::Shell_NotifyIconA;
    {
        SeamOverride<decltype(platform::Shell_NotifyIconA)> o(platform::Shell_NotifyIconA, &RefuseTrayIcon);
        EXPECT_EQ(&RefuseTrayIcon, platform::Shell_NotifyIconA);
    }
    EXPECT_EQ(real, platform::Shell_NotifyIconA);
}

}  // namespace
