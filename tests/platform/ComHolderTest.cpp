// The owning holder: every reference taken is given back, the new one taken before the
// old one goes, and the holder is empty before the old object runs any code.
#include <gtest/gtest.h>

#include "platform/ComHolder.h"

namespace {

// Writes each AddRef and Release into a journal; Release notes what the watched holder held.
struct Counted : IUnknown {
    Counted(char tag, std::string& journal) : tag(tag), journal(journal) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return journal += std::string("+") + tag, ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (watched && watched->Get()) journal += "!";
        return journal += std::string("-") + tag, --refs;
    }
    char tag;
    std::string& journal;
    ULONG refs = 1;
    ComHolder<IUnknown>* watched = nullptr;
};

}  // namespace

TEST(ComHolder, TakesTheNewBeforeReleasingTheOldAndEmptiesBeforeReleasing) {
    std::string j;
    Counted a('a', j), b('b', j);
    {
        ComHolder<IUnknown> h(&a);
        ComHolder<IUnknown> copy(h);
        h.Assign(&b);
        h = h.Get();  // self-assignment keeps the object alive throughout
        b.watched = &h;
        *h.Receive() = &a;  // a platform call hands out a reference of its own
        a.AddRef();
        a.watched = &h;
        h.Clear();
    }
    EXPECT_EQ(j, "+a+a+b-a+b-b-b+a-a-a");
    EXPECT_TRUE(a.refs == 1 && b.refs == 1);
}
