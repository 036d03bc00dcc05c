#pragma once
// The one owning holder for interface pointers. Each holder owns exactly one reference
// to what it holds, or holds nothing.
#include "platform/Win.h"

template <class T>
class ComHolder {
public:
    ComHolder() = default;
    ComHolder(T* value) : p(value) { if (p) p->AddRef(); }
    ComHolder(const ComHolder& other) : p(other.p) { if (p) p->AddRef(); }
    ~ComHolder() { if (p) p->Release(); }

    // AddRef the new value before releasing the old one, so self-assignment is safe.
    ComHolder& operator=(T* value) { Assign(value); return *this; }
    ComHolder& operator=(const ComHolder& other) { Assign(other.p); return *this; }

    T* Assign(T* value) {
        if (value) value->AddRef();
        T* old = p;
        p = value;
        if (old) old->Release();
        return p;
    }

    // Clears the holder before the old value is released, so a re-entrant
    // Release never sees a stale pointer here.
    void Clear() {
        T* old = p;
        p = nullptr;
        if (old) old->Release();
    }

    // Out-parameter for a platform call that hands out a reference of its own.
    // Whatever was held is released first.
    T** Receive() { Clear(); return &p; }

    T* Get() const { return p; }
    T* operator->() const { return p; }
    operator T*() const { return p; }
    explicit operator bool() const { return p != nullptr; }

private:
    T* p = nullptr;
};

// The most items taken from one enumeration. A driver's enumerator that answers S_OK for
// ever ends here; no real filter has this many pins, nor any machine this many devices.
constexpr ULONG maxEnumeratedItems = 256;

// The next item of an enumerator, into item; the enumerator's answer, or S_FALSE once
// `taken` (the items this enumeration has asked for) reaches the bound. After an answer
// other than S_OK the array's slot is undefined past the count fetched, so only a counted
// item is taken.
template <class Enumerator, class T>
HRESULT NextItem(Enumerator* items, ComHolder<T>& item, ULONG& taken) {
    if (taken >= maxEnumeratedItems) return item.Clear(), S_FALSE;
    ++taken;
    T* next = nullptr;
    ULONG fetched = 0;
    HRESULT hr = items->Next(1, &next, &fetched);
    item.Clear();
    if (hr == S_OK || (SUCCEEDED(hr) && fetched == 1)) *item.Receive() = next;
    return hr;
}

// Assignment through an out-holder that may be absent: an absent holder stores nothing
// and yields null.
template <class T>
T* AssignTo(ComHolder<T>* target, T* value) {
    if (!target) return nullptr;
    return target->Assign(value);
}
