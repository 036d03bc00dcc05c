#include "doubles/ComDouble.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace doubles {
namespace {

// Answered by every double without a reference, so a pointer can be traced to its double.
const IID IID_IComDouble = {0x5a3c2e71, 0x0c4b, 0x4e8a, {0x9d, 0x2f, 0x61, 0x70, 0x13, 0xb4, 0x88, 0x2d}};

std::vector<ComDouble*>& Live() {
    static std::vector<ComDouble*> live;
    return live;
}

}  // namespace

std::string Journal::Text() const {
    std::string text;
    for (const auto& e : entries) {
        if (!text.empty()) text += ' ';
        text += e;
    }
    return text;
}

int Journal::IndexOf(const std::string& what) const {
    auto it = std::find(entries.begin(), entries.end(), what);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

ComDouble::ComDouble(std::string name, Journal* journal) : name(std::move(name)), journal(journal) {
    Live().push_back(this);
}

ComDouble::~ComDouble() {
    auto& live = Live();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (!heap && refs != 1)
        ADD_FAILURE() << name << " destroyed with " << refs << " references, expected 1";
}

void ComDouble::Expose(REFIID iid, IUnknown* object) { exposed.emplace_back(iid, object); }

void ComDouble::Hide(REFIID iid) { hidden.push_back(iid); }

HRESULT ComDouble::DoQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IComDouble) {
        *out = this;
        return S_OK;
    }
    for (const auto& h : hidden)
        if (h == iid) return E_NOINTERFACE;
    if (void* native = Native(iid)) {
        *out = native;
        DoAddRef();
        return S_OK;
    }
    for (const auto& e : exposed)
        if (e.first == iid) return e.second->QueryInterface(iid, out);
    return E_NOINTERFACE;
}

ULONG ComDouble::DoAddRef() {
    if (journalRefs) Log("AddRef");
    return ++refs;
}

ULONG ComDouble::DoRelease() {
    if (journalRefs) Log("Release");
    if (refs <= 0 || (!heap && refs == 1)) {
        ADD_FAILURE() << name << " released more often than referenced";
        return 0;
    }
    LONG left = --refs;
    if (left == 0 && heap) delete this;
    return left;
}

void ComDouble::Log(const std::string& what) {
    if (journal) journal->Add(name + "." + what);
}

ComDouble* AsDouble(IUnknown* object) {
    if (!object) return nullptr;
    void* found = nullptr;
    if (object->QueryInterface(IID_IComDouble, &found) != S_OK) return nullptr;
    return static_cast<ComDouble*>(found);
}

std::string NameOf(IUnknown* object) {
    if (!object) return "null";
    ComDouble* d = AsDouble(object);
    return d ? d->name : "?";
}

std::string Narrow(LPCWSTR text) {
    std::string out;
    for (; text && *text; ++text) out += static_cast<char>(*text);
    return out;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

void ExpectAllBalanced(const char* file, int line) {
    for (ComDouble* d : Live()) {
        if (d->heap)
            ADD_FAILURE_AT(file, line) << d->name << " still alive with " << d->refs << " references";
        else if (d->refs != d->baseline)
            ADD_FAILURE_AT(file, line) << d->name << " has " << d->refs << " references, expected "
                                       << d->baseline;
    }
}

void RebaseAll() {
    for (ComDouble* d : Live()) d->Rebase();
}

int LiveHeapDoubles() {
    int n = 0;
    for (ComDouble* d : Live()) n += d->heap ? 1 : 0;
    return n;
}

}  // namespace doubles
