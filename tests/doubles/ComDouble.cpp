#include "doubles/ComDouble.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>

namespace doubles {
namespace {

// Answered by every double without a reference, so a pointer can be traced to its double.
const IID IID_IComDouble = {0x5a3c2e71, 0x0c4b, 0x4e8a, {0x9d, 0x2f, 0x61, 0x70, 0x13, 0xb4, 0x88, 0x2d}};

std::vector<ComDouble*>& Live() {
    static std::vector<ComDouble*> live;  // doubles may be made before this file's globals
    return live;
}
bool watching = false;
std::vector<void*> outstanding;  // task memory handed out while watching

void WINAPI TrackedFree(void* block) {
    outstanding.erase(std::remove(outstanding.begin(), outstanding.end(), block), outstanding.end());
    ::CoTaskMemFree(block);
}

}  // namespace

ComDouble::ComDouble(std::string name, Journal* journal) : name(std::move(name)), journal(journal) {
    Live().push_back(this);
}

ComDouble::~ComDouble() {
    Live().erase(std::remove(Live().begin(), Live().end(), this), Live().end());
    if (!heap && refs != 1) ADD_FAILURE() << name << " destroyed with " << refs << " references, expected 1";
}

HRESULT ComDouble::DoQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IComDouble) return *out = this, S_OK;
    if (std::find(hidden.begin(), hidden.end(), iid) != hidden.end()) return E_NOINTERFACE;
    if ((*out = Native(iid))) return DoAddRef(), S_OK;
    for (const auto& e : exposed)
        if (e.first == iid) return e.second->QueryInterface(iid, out);
    return E_NOINTERFACE;
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

ComDouble* AsDouble(IUnknown* object) {
    void* found = nullptr;
    return object && object->QueryInterface(IID_IComDouble, &found) == S_OK ? static_cast<ComDouble*>(found)
                                                                           : nullptr;
}

void ExpectAllBalanced(const char* file, int line) {
    for (ComDouble* d : Live()) {
        if (d->heap) ADD_FAILURE_AT(file, line) << d->name << " still alive with " << d->refs << " references";
        else if (d->refs != d->baseline)
            ADD_FAILURE_AT(file, line) << d->name << " has " << d->refs << " references, expected " << d->baseline;
    }
}

void RebaseAll() {
    for (ComDouble* d : Live()) d->Rebase();
}

int LiveHeapDoubles() {
    return std::count_if(Live().begin(), Live().end(), [](ComDouble* d) { return d->heap; });
}

void* TaskAlloc(size_t bytes) {
    void* block = ::CoTaskMemAlloc(bytes);
    if (block && watching) outstanding.push_back(block);
    return block;
}

AM_MEDIA_TYPE* NewMediaType(const MediaType& type) {
    auto* mt = static_cast<AM_MEDIA_TYPE*>(TaskAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt) return nullptr;
    *mt = AM_MEDIA_TYPE{type.majortype, type.subtype, TRUE, FALSE, 1, type.formattype, nullptr, 0, nullptr};
    if (!type.format.empty() && (mt->pbFormat = static_cast<BYTE*>(TaskAlloc(type.format.size())))) {
        std::memcpy(mt->pbFormat, type.format.data(), type.format.size());
        mt->cbFormat = static_cast<ULONG>(type.format.size());
    }
    return mt;
}

TaskMemWatch::TaskMemWatch() : seam(platform::CoTaskMemFree, &TrackedFree) {
    outstanding.clear();
    watching = true;
}

TaskMemWatch::~TaskMemWatch() { watching = false; }

int TaskMemWatch::Outstanding() const { return static_cast<int>(outstanding.size()); }

}  // namespace doubles
