#pragma once
// Hostile answers: while a world runs, each call the program makes on a driver's objects
// (the doubles, the demo camera, the device monikers and their property bags) may be
// answered with success and a value no sound driver gives, drawn from the world's seed: an
// out-pointer left null, counts that lie, a page list too long or not there, a friendly
// name of another type, case or length, an enumerator that never ends or hands out a new
// pin each time. Which answer was drawn where is counted by call site, so a run can say
// whether every hostile answer reached every place that can get it.
#include <cstdint>
#include <string>
#include <type_traits>

#include "doubles/Doubles.h"

namespace hostile {

// On while a world runs; the chance, in 1/1000, that a call is answered hostilely; whether
// the device monikers, their enumerator and bags answer soundly in this world, so that more
// launches reach the filters and crossbars.
extern bool on;
extern int chance;
extern bool devicesSound;
// Calls the program made on hooked objects since the last Begin, and that world's seed.
extern long calls;
extern unsigned long long seed;

// A small generator of its own, so a seed means the same world on every build.
struct Random {
    uint64_t state;
    uint64_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return n > 0 ? static_cast<int>(Next() % static_cast<uint64_t>(n)) : 0; }
    bool Chance(int perMille) { return Below(1000) < perMille; }
};
extern Random random;

// A world's start and end: the generator seeded, the ledger and the call count emptied;
// at the end, the pins handed out for one call only are let go of.
void Begin(uint64_t seed);
void End();

// Which of the kinds hostile answers a call at `site` gets (-1: none, answer as the object
// does). Platform objects (the graph, the capture graph builder, the mapper, the device
// enumerator) always answer as they do.
int Draw(void* site, const char* method, int kinds, const std::string& owner, const void* self = nullptr);
// The hostile answers drawn so far at each call site, against those that could have been.
struct Coverage {
    int sites = 0, pairs = 0, drawn = 0;
    std::string missing;  // "method@offset: kind, ..." for each pair never drawn
};
Coverage Covered();

// What the program was told on its way to the frame, for the world's verdict: the first
// device whose name it read as the camera's, and whether that device's filter gave a sound
// page list.
void NoteDevice(void* moniker);
void NoteBag(void* moniker, void* bag);
void NoteName(void* bag, const VARIANT* name);
void NoteFilter(void* moniker, void* filter);
void NotePages(void* filter, void* pages);
void NotePageList(void* pages, HRESULT hr, const CAUUID* list);
// The camera's own name could not be built for the device whose name was read last.
void NoteNoCameraName();
// A filter the program removed from its graph; the capture filter must stay.
void NoteRemoved(void* filter);
bool FrameDue();
bool CaptureFilterRemoved();

// An enumerator that never ends: once drawn, it answers S_OK for ever, starting over from
// its first item when its own ones run out.
bool Endless(void* enumerator);
void MakeEndless(void* enumerator);

// A new pin object each time, a copy of a double's (null for another's): it lives only as
// long as its own references. Used after its last release, it is Dead: the hooks complain.
IPin* FreshPin(IPin* real);
bool Dead(const void* object);

// --- The answers, by the arguments a method takes -----------------------------------------

// Interface out-pointers (and QueryInterface's void**) left null with S_OK.
template <class T>
constexpr bool IsObjectOut = std::is_pointer_v<T> && std::is_pointer_v<std::remove_pointer_t<T>> &&
                             (std::is_base_of_v<IUnknown, std::remove_pointer_t<std::remove_pointer_t<T>>> ||
                              std::is_void_v<std::remove_pointer_t<std::remove_pointer_t<T>>>);
template <class T>
void NullOut(T arg) {
    if constexpr (IsObjectOut<T>)
        if (arg) *arg = nullptr;
}

template <class... A>
struct Answers {
    static constexpr int kinds = (IsObjectOut<A> || ...) ? 1 : 0;
    template <class Real>
    static HRESULT Give(int, Real, A... a) { return (NullOut(a), ...), S_OK; }
};

// IPin::QueryDirection: the other direction, or one that is neither.
template <>
struct Answers<PIN_DIRECTION*> {
    static constexpr int kinds = 2;
    template <class Real>
    static HRESULT Give(int k, Real real, PIN_DIRECTION* direction) {
        if (real() != S_OK) *direction = PINDIR_INPUT;
        *direction = k == 0 ? PIN_DIRECTION(1 - *direction) : PIN_DIRECTION(7);
        return S_OK;
    }
};

// IPin::QueryPinInfo: no filter, or the other direction.
template <>
struct Answers<PIN_INFO*> {
    static constexpr int kinds = 2;
    template <class Real>
    static HRESULT Give(int k, Real real, PIN_INFO* info) {
        if (k == 0) return *info = PIN_INFO{}, S_OK;
        if (real() != S_OK) *info = PIN_INFO{};
        info->dir = PIN_DIRECTION(1 - info->dir);
        return S_OK;
    }
};

// IAMCrossbar::get_PinCounts: a huge count of inputs, negative counts, one input more or
// one fewer than it has, a huge count of outputs.
template <>
struct Answers<LONG*, LONG*> {
    static constexpr int kinds = 5;
    template <class Real>
    static HRESULT Give(int k, Real real, LONG* outputs, LONG* inputs) {
        if (real() != S_OK) *outputs = *inputs = 1;
        if (k == 0) *inputs = 0x7FFFFFFF;
        if (k == 1) *outputs = *inputs = -2;
        if (k == 2) *inputs += 1;
        if (k == 3) *inputs -= 1;
        if (k == 4) *outputs = 0x7FFFFFFF;
        return S_OK;
    }
};

// IAMCrossbar::CanRoute: any pair can be routed.
template <>
struct Answers<LONG, LONG> {
    static constexpr int kinds = 1;
    template <class Real>
    static HRESULT Give(int, Real, LONG, LONG) { return S_OK; }
};

// IAMCrossbar::get_CrossbarPinInfo: a negative or a huge physical type, a related pin far
// out of range.
template <>
struct Answers<WINBOOL, LONG, LONG*, LONG*> {
    static constexpr int kinds = 3;
    template <class Real>
    static HRESULT Give(int k, Real real, WINBOOL, LONG, LONG* related, LONG* type) {
        if (real() != S_OK) *related = *type = 0;
        if (k == 0) *type = -5;
        if (k == 1) *type = 0x7FFFFFFF;
        if (k == 2) *related = 0x7FFFFFFF;
        return S_OK;
    }
};

// ISpecifyPropertyPages::GetPages: none at all; a count with no array; a count of 1000 over
// an array of one; an empty list with an array.
template <>
struct Answers<CAUUID*> {
    static constexpr int kinds = 4;
    template <class Real>
    static HRESULT Give(int k, Real, CAUUID* list) {
        *list = {0, nullptr};
        if (k == 1) list->cElems = 3;
        if (k == 2 || k == 3) {
            list->pElems = static_cast<GUID*>(doubles::TaskAlloc(sizeof(GUID)));
            *list->pElems = GUID_NULL;
            list->cElems = k == 2 ? 1000 : 0;
        }
        return S_OK;
    }
};

// IPropertyBag::Read of the friendly name: nothing, an empty string, a number, a null
// string, the camera's name with more after an embedded null, 10,000 characters that begin
// with it, the camera's name in another case.
template <>
struct Answers<LPCOLESTR, VARIANT*, IErrorLog*> {
    static constexpr int kinds = 7;
    template <class Real>
    static HRESULT Give(int k, Real, LPCOLESTR, VARIANT* value, IErrorLog*) { return Name(k, value), S_OK; }
    static void Name(int k, VARIANT* value);
};

// IKsPropertySet::Get of a pin's category: the analog video input's, whatever the pin is;
// success with nothing written.
template <>
struct Answers<const GUID&, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*> {
    static constexpr int kinds = 2;
    template <class Real>
    static HRESULT Give(int k, Real, const GUID&, DWORD, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
        if (k == 0 && data && size >= sizeof(GUID)) *static_cast<GUID*>(data) = PIN_CATEGORY_ANALOGVIDEOIN;
        if (returned) *returned = k == 0 ? sizeof(GUID) : 0;
        return S_OK;
    }
};

// IAMStreamConfig::GetFormat: no media type; one without a format whose format pointer is
// left undefined.
template <>
struct Answers<AM_MEDIA_TYPE**> {
    static constexpr int kinds = 2;
    template <class Real>
    static HRESULT Give(int k, Real, AM_MEDIA_TYPE** type) {
        *type = k == 0 ? nullptr : doubles::NewMediaType(MEDIATYPE_Interleaved, GUID_NULL);
        return S_OK;
    }
};

}  // namespace hostile
