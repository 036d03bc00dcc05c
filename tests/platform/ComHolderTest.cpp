// The owning holder: every reference taken is given back, in the order that keeps the
// object alive, and the holder is empty before the old object runs any code.
#include "platform/ComHolder.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// Writes each AddRef and Release into a shared journal; Release notes what the watched
// holder held at that moment.
struct Counted : IUnknown {
    Counted(char tag, std::string* journal) : tag(tag), journal(journal) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return *journal += std::string("+") + tag, ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        seen = watched ? watched->Get() : nullptr;
        return *journal += std::string("-") + tag, --refs;
    }
    char tag;
    std::string* journal;
    ULONG refs = 1;
    ComHolder<IUnknown>* watched = nullptr;
    IUnknown* seen = nullptr;
};

TEST(ComHolder, CopiesAssignmentsAndDestructionBalanceNewBeforeOld) {
    std::string j;
    Counted a('a', &j), b('b', &j);
    {
        ComHolder<IUnknown> h(&a);
        ComHolder<IUnknown> copy(h);
        EXPECT_EQ(&b, h.Assign(&b));
        h = h.Get();  // self-assignment keeps the object alive throughout
        EXPECT_EQ(nullptr, AssignTo<IUnknown>(nullptr, &a));
    }
    EXPECT_EQ("+a+a+b-a+b-b-a-b", j);
    EXPECT_EQ(1u, a.refs);
    EXPECT_EQ(1u, b.refs);
}

TEST(ComHolder, ClearAndReceiveEmptyTheHolderBeforeReleasing) {
    std::string j;
    Counted a('a', &j), b('b', &j);
    ComHolder<IUnknown> h(&a);
    a.watched = &h;
    a.seen = &a;
    h.Clear();
    EXPECT_EQ(nullptr, a.seen);
    h.Clear();  // a second clear does nothing
    EXPECT_EQ(1u, a.refs);
    h = &a;
    IUnknown** slot = h.Receive();
    EXPECT_EQ(1u, a.refs);
    *slot = &b;  // as a platform call would, with the reference it hands out
    b.AddRef();
    EXPECT_EQ(&b, h.Get());
    h.Clear();
    EXPECT_EQ(1u, b.refs);
}

}  // namespace
