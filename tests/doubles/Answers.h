#pragma once
// One table of answers for each kind of call the program makes on the objects it is handed
// and through the seams, and one chooser among them. Every call can get the first answers:
// a failure (E_FAIL, nothing handed out), an odd success (nothing handed out) and S_FALSE
// with its objects. A driver's objects (the doubles, the demo camera, the device monikers
// and their bags, not Wine's graph, builder, mapper or device enumerator) can also answer
// with success and a value no sound driver gives: the hostile answers of its kind, which
// follow. The fault sweep arms one call of a run with one answer, each in turn; a world
// draws, on each call, a hostile answer or none from its seed.
#include <cstdint>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "doubles/Doubles.h"

namespace answers {

// The first answers of every call, by their place in its list; the hostile ones follow.
enum { fail, oddly, withObjects, hostile };

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

struct Chooser {
    // A call of a recording run, and the names of the hostile answers its object can give.
    struct Call {
        std::string text;
        const char* const* names;
        int hostileKinds;
        const char* Name(int answer) const;
    };
    // The sweep's: call `target` of the next run (counted from 0) gets `answer`; a target of
    // -1 records the run's calls.
    void Arm(int target, int answer);
    // The worlds': each call on a driver's object gets one of its hostile answers with
    // `chance` in 1000, drawn from the seed.
    void Draw(uint64_t seed);
    // The answer a call on self gets now (-1: as the object answers), from the table of its
    // kind: the names of its hostile answers. A recording run lists the call as text().
    template <class Text>
    int Choose(const void* self, const std::string& owner, const char* method, const char* const* names, int kinds, Text text) {
        if (!active) return -1;
        const int hostileKinds = Driver(owner) ? kinds : 0;
        if (target < 0 && !drawing) recorded.push_back({text(), names, hostileKinds});
        return Chosen(self, owner, method, hostileKinds);
    }
    // What runs now, for a run that hangs or crashes: the world's seed or the armed call.
    std::string Now() const;

    bool active = false, drawing = false, fired = false;
    bool soundDevices = false;  // a world's monikers, their enumerator and bags answer soundly
    int target = -1, answer = 0, chance = 0;
    long calls = 0;  // made on hooked objects since armed or drawn
    uint64_t seed = 0;
    Random random{0};
    std::vector<Call> recorded;

private:
    bool Driver(const std::string& owner) const;
    int Chosen(const void* self, const std::string& owner, const char* method, int hostileKinds);
};
extern Chooser chooser;

// What the program was told on its way to the frame, for the verdict on a hostile answer:
// the first device whose name it read as the camera's, and whether that device's filter gave
// a sound page list.
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

// An enumerator that never ends: once so answered, it answers S_OK for ever, starting over
// from its first item when its own ones run out.
bool Endless(void* enumerator);
void MakeEndless(void* enumerator);

// A new pin object each time, a copy of a double's (null for another's): it lives only as
// long as its own references. Used after its last release, it is Dead: the hooks complain.
IPin* FreshPin(IPin* real);
bool Dead(const void* object);

// --- The hostile answers, by the arguments a method takes ---------------------------------
#define ANSWERS(...) \
    static constexpr const char* names[] = {__VA_ARGS__}; \
    static constexpr int kinds = std::size(names);

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
    static constexpr const char* names[] = {"an object left null"};
    static constexpr int kinds = (IsObjectOut<A> || ...) ? 1 : 0;
    template <class Real>
    static HRESULT Give(int, Real, A... a) { return (NullOut(a), ...), S_OK; }
};

// IPin::QueryDirection.
template <>
struct Answers<PIN_DIRECTION*> {
    ANSWERS("the other direction", "neither direction")
    template <class Real>
    static HRESULT Give(int k, Real real, PIN_DIRECTION* direction) {
        if (real() != S_OK) *direction = PINDIR_INPUT;
        *direction = k == 0 ? PIN_DIRECTION(1 - *direction) : PIN_DIRECTION(7);
        return S_OK;
    }
};

// IPin::QueryPinInfo.
template <>
struct Answers<PIN_INFO*> {
    ANSWERS("no filter", "the other direction")
    template <class Real>
    static HRESULT Give(int k, Real real, PIN_INFO* info) {
        if (k == 0) return *info = PIN_INFO{}, S_OK;
        if (real() != S_OK) *info = PIN_INFO{};
        info->dir = PIN_DIRECTION(1 - info->dir);
        return S_OK;
    }
};

// IAMCrossbar::get_PinCounts.
template <>
struct Answers<LONG*, LONG*> {
    ANSWERS("2^31-1 inputs", "negative counts", "one input more", "one input fewer", "2^31-1 outputs")
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

// IAMCrossbar::CanRoute.
template <>
struct Answers<LONG, LONG> {
    ANSWERS("any pair routable")
    template <class Real>
    static HRESULT Give(int, Real, LONG, LONG) { return S_OK; }
};

// IAMCrossbar::get_CrossbarPinInfo.
template <>
struct Answers<WINBOOL, LONG, LONG*, LONG*> {
    ANSWERS("a negative type", "a huge type", "a related pin far out")
    template <class Real>
    static HRESULT Give(int k, Real real, WINBOOL, LONG, LONG* related, LONG* type) {
        if (real() != S_OK) *related = *type = 0;
        if (k == 0) *type = -5;
        if (k == 1) *type = 0x7FFFFFFF;
        if (k == 2) *related = 0x7FFFFFFF;
        return S_OK;
    }
};

// ISpecifyPropertyPages::GetPages.
template <>
struct Answers<CAUUID*> {
    ANSWERS("no pages", "a count with no array", "1000 pages over one", "an empty list with an array")
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

// IPropertyBag::Read of the friendly name.
template <>
struct Answers<LPCOLESTR, VARIANT*, IErrorLog*> {
    ANSWERS("no name", "an empty name", "a number", "a null string", "the name with more after a null",
            "10,000 characters", "the name in another case")
    template <class Real>
    static HRESULT Give(int k, Real, LPCOLESTR, VARIANT* value, IErrorLog*) { return Name(k, value), S_OK; }
    static void Name(int k, VARIANT* value);
};

// IKsPropertySet::Get of a pin's category.
template <>
struct Answers<const GUID&, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*> {
    ANSWERS("analog video input", "nothing written")
    template <class Real>
    static HRESULT Give(int k, Real, const GUID&, DWORD, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
        if (k == 0 && data && size >= sizeof(GUID)) *static_cast<GUID*>(data) = PIN_CATEGORY_ANALOGVIDEOIN;
        if (returned) *returned = k == 0 ? sizeof(GUID) : 0;
        return S_OK;
    }
};

// IAMStreamConfig::GetFormat; a format pointer without a length is left undefined.
template <>
struct Answers<AM_MEDIA_TYPE**> {
    ANSWERS("no media type", "a type without a format")
    template <class Real>
    static HRESULT Give(int k, Real, AM_MEDIA_TYPE** type) {
        *type = k == 0 ? nullptr : doubles::NewMediaType(MEDIATYPE_Interleaved, GUID_NULL);
        return S_OK;
    }
};

// An enumerator's Next: S_OK with nothing; no end; a new pin each time (pins only).
struct NextAnswers {
    ANSWERS("nothing", "no end", "a new pin each time")
};

// A platform operation that building the camera's name needs fails now and then in a
// world, as when memory runs out.
struct SeamAnswers {
    ANSWERS("no memory")
};

}  // namespace answers
