#pragma once
// Fault points and a journal of calls, on Wine's objects and doubles alike, without a
// double per fault: a hooked interface gets a copy of its vtable in which the listed
// methods first ask the plan. The plan numbers the calls of a run; a recording run lists
// them (with the doubles each was handed), then each can be armed to fail in turn.
// Whatever a hooked call hands out is hooked in its turn.
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "doubles/Doubles.h"
#include "doubles/Hostile.h"
#include "doubles/Strict.h"

namespace hooks {

enum class Mode {
    Fail,               // E_FAIL, nothing handed out
    OddSuccess,         // a success code (S_FALSE unless the call names another), nothing handed out
    SuccessWithObject,  // the call does its work and hands out its objects, but says S_FALSE
};

struct Plan {
    void Arm(int k, Mode m) { active = true, target = k, mode = m, fired = false, calls.clear(); }
    void Record() { Arm(-1, Mode::Fail); }
    // The calls recorded whose text starts with prefix, joined by spaces.
    std::string Calls(const std::string& prefix) const;
    bool active = false, fired = false;
    int target = -1;
    Mode mode = Mode::Fail;
    std::vector<std::string> calls;
};
extern Plan plan;
// Objects made by CoCreateInstance (through FaultySeam) that have not yet been destroyed.
extern std::set<void*>& created;
// What is left after a run, or "": a double off its count, a reference the program still
// holds on Wine's or the demo camera's objects, an object made for the run alive, task
// memory a double handed out and no one freed, a call against the contract.
std::string Left();
// A reference handed out to the program.
void Take(void* object);

enum class Shot { Pass, Fail, Adjust };
Shot Hit(const std::string& call);
// Hooks every hookable interface each object answers.
void Hook(std::initializer_list<IUnknown*> objects);
void** OriginalVtable(void* object);
const std::string& OwnerName(void* object);
// While one lives, a call of the platform's own (Wine's) is passing through a hooked object.
struct PlatformCall {
    PlatformCall() { ++platformCalls; }
    ~PlatformCall() { --platformCalls; }
};
// QueryInterface is a fault point, and hands out what it finds, only for the interfaces the
// program asks for.
bool Faultable(REFIID iid, void** = nullptr);

// An odd success hands out nothing: out-pointers and counts come back zeroed; so does a
// failure where the doubles are not strict.
template <class T>
void Clear(T& arg) {
    using P = std::remove_pointer_t<T>;
    if constexpr (std::is_pointer_v<T> && !std::is_const_v<P> && (std::is_pointer_v<P> || std::is_integral_v<P> || std::is_enum_v<P>))
        if (arg && (std::is_pointer_v<P> || sizeof(P) >= 4)) *arg = P{};
}
// Whether an armed call fails as the documentation allows, rather than with nothing.
inline bool StrictFailure() { return strict::on && plan.mode == Mode::Fail; }

// What a call that answers S_OK hands out is hooked, the filter a pin information names too.
// A media type's format pointer means nothing without a length.
template <class T>
void Adopt(T& arg) {
    if constexpr (std::is_same_v<T, PIN_INFO*>) {
        if (arg) Hook({arg->pFilter}), Take(arg->pFilter);
    } else if constexpr (std::is_same_v<T, AM_MEDIA_TYPE**>) {
        if (strict::on && arg && *arg && !(*arg)->cbFormat) strict::Poison(&(*arg)->pbFormat);
    } else if constexpr (std::is_pointer_v<T> && std::is_pointer_v<std::remove_pointer_t<T>>) {
        using I = std::remove_pointer_t<std::remove_pointer_t<T>>;
        if constexpr (std::is_base_of_v<IUnknown, I> || std::is_void_v<I>)
            if (arg && *arg) Hook({static_cast<IUnknown*>(*arg)}), Take(*arg);
    }
}
// The doubles among the arguments, for the journal.
template <class T>
std::string ArgName(T arg) {
    if constexpr (std::is_pointer_v<T> && std::is_base_of_v<IUnknown, std::remove_pointer_t<T>>) return doubles::NameOf(arg, "platform");
    return "";
}
template <class... A>
std::string ArgNames(A... a) {
    std::string names;
    ((names += names.empty() || ArgName(a).empty() ? ArgName(a) : "," + ArgName(a)), ...);
    return names;
}

// What a failed call answers, or a passed one after Adjust (where its answers are
// HRESULTs). Operations that do not answer an HRESULT fail with zero.
template <class R>
R Outcome(Shot shot, R passed, HRESULT odd) {
    if constexpr (!std::is_same_v<R, HRESULT>) return shot == Shot::Fail ? R{} : passed;
    else if (shot == Shot::Fail) return plan.mode == Mode::Fail ? E_FAIL : odd;
    else return shot == Shot::Adjust && (odd == S_FALSE || odd == S_OK) && passed == S_OK ? S_FALSE : passed;
}

// What a hostile world's verdict needs of an answer: the devices, their bags, names,
// filters and page lists, as the program was told them.
template <class... A>
void Note(const char* method, void* self, HRESULT hr, A... a) {
    if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<IBindCtx*, IMoniker*, REFIID, void**>>) {
        void* out = hr == S_OK ? *std::get<3>(std::tie(a...)) : nullptr;
        if (out && std::strcmp(method, "BindToStorage") == 0) hostile::NoteBag(self, out);
        if (out && std::strcmp(method, "BindToObject") == 0) hostile::NoteFilter(self, out);
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<REFIID, void**>>) {
        if (hr == S_OK && std::get<0>(std::tie(a...)) == IID_ISpecifyPropertyPages) hostile::NotePages(self, *std::get<1>(std::tie(a...)));
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<LPCOLESTR, VARIANT*, IErrorLog*>>) {
        VARIANT none = {};
        hostile::NoteName(self, hr == S_OK ? std::get<1>(std::tie(a...)) : &none);
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<CAUUID*>>) {
        hostile::NotePageList(self, hr, a...);
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<IBaseFilter*>>) {
        if (std::strcmp(method, "RemoveFilter") == 0) hostile::NoteRemoved(a...);
    }
}

template <auto method>
int SlotOf() {
    struct { ptrdiff_t ptr, adj; } raw;  // a virtual one is 1 + its offset in the vtable
    auto m = method;
    return std::memcpy(&raw, &m, sizeof raw), static_cast<int>((raw.ptr - 1) / sizeof(void*));
}

// COM methods follow the calling convention of a function with the object first.
template <auto method, class Self>
struct PointName {
    static std::pair<int, void*> Make(const char* qualified) {
        name = std::strrchr(qualified, ':') ? std::strrchr(qualified, ':') + 1 : qualified;
        return {SlotOf<method>(), reinterpret_cast<void*>(&Self::Thunk)};
    }
    template <class C>
    static auto Real(C* self) { return reinterpret_cast<decltype(&Self::Thunk)>(OriginalVtable(self)[SlotOf<method>()]); }
    static inline const char* name;
};

template <auto method, HRESULT odd = S_FALSE, class = decltype(method)>
struct Point;
template <auto method, HRESULT odd, class C, class... A>
struct Point<method, odd, HRESULT (STDMETHODCALLTYPE C::*)(A...)> : PointName<method, Point<method, odd>> {
    static HRESULT STDMETHODCALLTYPE Thunk(C* self, A... a) {
        auto real = Point::Real(self);
        if (!FromProgram(__builtin_return_address(0))) {
            PlatformCall platform;
            return real(self, a...);
        }
        if constexpr (std::is_same_v<C, IUnknown>)
            if (!Faultable(a...)) return real(self, a...);
        if (hostile::on) {
            using Answers = hostile::Answers<A...>;
            const int k = hostile::Draw(__builtin_return_address(0), Point::name, Answers::kinds, OwnerName(self), self);
            HRESULT hr = k < 0 ? real(self, a...) : Answers::Give(k, [&] { return real(self, a...); }, a...);
            if (hr == S_OK) (Adopt(a), ...);
            Note<A...>(Point::name, self, hr, a...);
            return hr;
        }
        Shot shot = Hit(OwnerName(self) + "." + Point::name + "(" + ArgNames(a...) + ")");
        if (shot == Shot::Fail) {
            if (StrictFailure()) strict::FailedMethod(self, a...);
            else (Clear(a), ...);
            return Outcome<HRESULT>(shot, S_OK, odd);
        }
        HRESULT hr = real(self, a...);
        if (hr == S_OK) (Adopt(a), ...);  // after any other answer an out-pointer may be unset
        return Outcome(shot, hr, odd);
    }
};

// Lets go of what an enumerator handed out, unseen by the count of the program's references.
void Drop(IUnknown* item);
void Drop(AM_MEDIA_TYPE* item);

// An enumerator's Next always learns how many it fetched. After S_FALSE, strictly, the
// slots past the count are undefined, and "its objects with S_FALSE" is an enumeration
// that ends early: what was fetched goes back.
template <auto method, HRESULT odd, class C, class Item>
struct Point<method, odd, HRESULT (STDMETHODCALLTYPE C::*)(ULONG, Item**, ULONG*)> : PointName<method, Point<method, odd>> {
    static HRESULT STDMETHODCALLTYPE Thunk(C* self, ULONG wanted, Item** items, ULONG* fetched) {
        auto real = Point::Real(self);
        if (!FromProgram(__builtin_return_address(0))) {
            PlatformCall platform;
            return real(self, wanted, items, fetched);
        }
        if (hostile::on) return Hostile(__builtin_return_address(0), self, wanted, items, fetched);
        Shot shot = Hit(OwnerName(self) + "." + Point::name + "()");
        ULONG got = 0;
        HRESULT hr;
        if (shot == Shot::Fail) {
            hr = Outcome<HRESULT>(shot, S_OK, odd);
            std::fill(items, items + wanted, nullptr);
            if (fetched) StrictFailure() ? strict::Poison(fetched) : void(*fetched = 0);
            return hr;
        }
        hr = real(self, wanted, items, &got);
        got = hr == S_OK ? wanted : SUCCEEDED(hr) ? std::min(got, wanted) : 0;
        if (shot == Shot::Adjust && hr == S_OK) {
            hr = S_FALSE;
            if (strict::on) std::for_each(items, items + got, [](Item* item) { Drop(item); }), got = 0;
        }
        if (strict::on && hr == S_FALSE) std::for_each(items + got, items + wanted, [](Item*& item) { strict::Poison(&item); });
        for (Item** item = items; item < items + got; ++item) Adopt(item);
        if (fetched) *fetched = got;
        return hr;
    }

    // Hostile answers: S_OK with nothing; S_OK for ever from now on, starting over when the
    // items run out; a pin new each time, standing for the real one.
    static HRESULT Hostile(void* site, C* self, ULONG wanted, Item** items, ULONG* fetched) {
        auto real = Point::Real(self);
        constexpr bool pins = std::is_same_v<Item, IPin>;
        const int k = hostile::Draw(site, Point::name, pins ? 3 : 2, OwnerName(self), self);
        if (k == 1) hostile::MakeEndless(self);
        ULONG got = 0;
        HRESULT hr = real(self, wanted, items, &got);
        got = hr == S_OK ? wanted : SUCCEEDED(hr) ? std::min(got, wanted) : 0;
        if (hr != S_OK && hostile::Endless(self)) {
            std::for_each(items, items + got, [](Item* item) { Drop(item); });
            reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(C*)>(OriginalVtable(self)[5])(self);  // Reset
            hr = real(self, wanted, items, &got);
            got = hr == S_OK ? wanted : 0;
            if (hr != S_OK) std::fill(items, items + wanted, nullptr), hr = S_OK, got = wanted;
        }
        if (k == 0) {
            std::for_each(items, items + got, [](Item* item) { Drop(item); });
            std::fill(items, items + wanted, nullptr), hr = S_OK, got = wanted;
        }
        if constexpr (pins)
            if (k == 2)
                for (Item** item = items; item < items + got; ++item)
                    if (IPin* real = *item) *item = hostile::FreshPin(real), Drop(real);
        for (Item** item = items; item < items + got; ++item) Adopt(item);
        if constexpr (std::is_same_v<Item, IMoniker>)
            if (hr == S_OK && got && items[0]) hostile::NoteDevice(items[0]);
        if (fetched) *fetched = got;
        return hr;
    }
};
#define FAULT_POINT(method, ...) ::hooks::Point<&method, ##__VA_ARGS__>::Make(#method)

// A platform operation as a fault point while the object lives, in front of whatever
// stands in the seam now.
template <auto& slot, class = std::remove_reference_t<decltype(slot)>>
class FaultySeam;
template <auto& slot, class R, class... A>
class FaultySeam<slot, R(WINAPI*)(A...)> {
public:
    explicit FaultySeam(const char* n, HRESULT o = S_FALSE) : saved(slot) {
        name = n, odd = o, real = slot, slot = &Call;
    }
    ~FaultySeam() { slot = saved; }

private:
    static R WINAPI Call(A... a) {
        Shot shot = Hit(name);
        if (shot == Shot::Fail) {
            if (StrictFailure()) strict::Failed(real, a...);
            else (Clear(a), ...);
            return Outcome<R>(shot, R{}, odd);
        }
        R r = real(a...);
        if constexpr (std::is_same_v<R(WINAPI*)(A...), decltype(&::CoCreateInstance)>) {  // the one that hands out objects
            void* object = *std::get<4>(std::tie(a...));
            if (r == S_OK) (Adopt(a), ...);
            // Wine's objects are watched until destroyed; its device enumerator is a static object.
            if (r == S_OK && doubles::NameOf(static_cast<IUnknown*>(object), "").empty() &&
                std::get<0>(std::tie(a...)) != CLSID_SystemDeviceEnum)
                created.insert(object);
        }
        return Outcome(shot, r, odd);
    }
    static inline const char* name;
    static inline HRESULT odd;
    static inline R(WINAPI* real)(A...);
    R(WINAPI* saved)(A...);
};

// A platform operation that building the camera's name needs, failing now and then in a
// hostile world, as it does when memory runs out.
template <auto& slot, class = std::remove_reference_t<decltype(slot)>>
class NameSeam;
template <auto& slot, class R, class... A>
class NameSeam<slot, R(WINAPI*)(A...)> {
public:
    explicit NameSeam(const char* n) : saved(slot) { name = n, real = slot, slot = &Call; }
    ~NameSeam() { slot = saved; }

private:
    static R WINAPI Call(A... a) {
        if (hostile::on && hostile::Draw(__builtin_return_address(0), name, 1, "seam") == 0)
            return hostile::NoteNoCameraName(), R{};
        return real(a...);
    }
    static inline const char* name;
    static inline R(WINAPI* real)(A...);
    R(WINAPI* saved)(A...);
};

}  // namespace hooks
