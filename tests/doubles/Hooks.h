#pragma once
// The calls the program makes on the objects it is handed, Wine's and the doubles' alike,
// and through the seams, each answered as the chooser says (doubles/Answers.h) without a
// double per answer: a hooked interface gets a copy of its vtable in which the listed
// methods first ask the chooser. A recording run lists the calls (with the doubles each was
// handed). Whatever a hooked call hands out is hooked in its turn.
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "doubles/Doubles.h"
#include "doubles/Answers.h"
#include "doubles/Strict.h"

namespace hooks {

// Objects made by CoCreateInstance (through a Seam) that have not yet been destroyed.
extern std::set<void*>& created;
// What is left after a run, or "": a double off its count, a reference the program still
// holds on Wine's or the demo camera's objects, an object made for the run alive, task
// memory a double handed out and no one freed, a call against the contract.
std::string Left();
// A reference handed out to the program.
void Take(void* object);

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

// What a call that answers S_OK hands out is hooked, the filter a pin information names too.
// A media type handed out must be freed, and its format block; its format pointer means
// nothing without a length.
template <class T>
void Adopt(T& arg) {
    if constexpr (std::is_same_v<T, PIN_INFO*>) {
        if (arg) Hook({arg->pFilter}), Take(arg->pFilter);
    } else if constexpr (std::is_same_v<T, AM_MEDIA_TYPE**>) {
        if (!arg || !*arg) return;
        strict::Watch(*arg);
        if ((*arg)->cbFormat) strict::Watch((*arg)->pbFormat);
        else if (strict::on) strict::Poison(&(*arg)->pbFormat);
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

// What the verdict on a hostile answer needs of a call: the devices, their bags, names,
// filters and page lists, as the program was told them.
template <class... A>
void Note(const char* method, void* self, HRESULT hr, A... a) {
    if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<IBindCtx*, IMoniker*, REFIID, void**>>) {
        void* out = hr == S_OK ? *std::get<3>(std::tie(a...)) : nullptr;
        if (out && std::strcmp(method, "BindToStorage") == 0) answers::NoteBag(self, out);
        if (out && std::strcmp(method, "BindToObject") == 0) answers::NoteFilter(self, out);
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<REFIID, void**>>) {
        if (hr == S_OK && std::get<0>(std::tie(a...)) == IID_ISpecifyPropertyPages) answers::NotePages(self, *std::get<1>(std::tie(a...)));
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<LPCOLESTR, VARIANT*, IErrorLog*>>) {
        VARIANT none = {};
        answers::NoteName(self, hr == S_OK ? std::get<1>(std::tie(a...)) : &none);
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<CAUUID*>>) {
        answers::NotePageList(self, hr, a...);
    } else if constexpr (std::is_same_v<std::tuple<A...>, std::tuple<IBaseFilter*>>) {
        if (std::strcmp(method, "RemoveFilter") == 0) answers::NoteRemoved(a...);
    }
    // The graph is given a filter to add or remove, never none: a step whose filter was
    // not handed out ends before.
    if constexpr (sizeof...(A) > 0 && std::is_same_v<std::tuple_element_t<0, std::tuple<A...>>, IBaseFilter*>)
        if (!std::get<0>(std::tie(a...))) strict::Complain(std::string(method) + " of no filter; ");
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

template <auto method, class = decltype(method)>
struct Point;
template <auto method, class C, class... A>
struct Point<method, HRESULT (STDMETHODCALLTYPE C::*)(A...)> : PointName<method, Point<method>> {
    static HRESULT STDMETHODCALLTYPE Thunk(C* self, A... a) {
        using namespace answers;
        auto real = Point::Real(self);
        if (!FromProgram(__builtin_return_address(0))) {
            PlatformCall platform;
            return real(self, a...);
        }
        if constexpr (std::is_same_v<C, IUnknown>)
            if (!Faultable(a...)) return real(self, a...);
        using Table = Answers<A...>;
        const std::string& owner = OwnerName(self);
        const int k = chooser.Choose(self, owner, Point::name, Table::names, Table::kinds,
                                     [&] { return owner + "." + Point::name + "(" + ArgNames(a...) + ")"; });
        if (k == fail || k == oddly) {
            if (k == fail && strict::on) strict::FailedMethod(self, a...);
            else (Clear(a), ...);
            return k == fail ? E_FAIL : S_FALSE;
        }
        HRESULT hr = k < hostile ? real(self, a...) : Table::Give(k - hostile, [&] { return real(self, a...); }, a...);
        if (hr == S_OK) (Adopt(a), ...);  // after any other answer an out-pointer may be unset
        Note<A...>(Point::name, self, hr, a...);
        return k == withObjects && hr == S_OK ? S_FALSE : hr;
    }
};

// Lets go of what an enumerator handed out, unseen by the count of the program's references.
void Drop(IUnknown* item);
void Drop(AM_MEDIA_TYPE* item);

// An enumerator's Next always learns how many it fetched. Its odd success is S_OK with
// nothing fetched. After S_FALSE, strictly, the slots past the count are undefined, and
// "its objects with S_FALSE" is an enumeration that ends early: what was fetched goes back.
template <auto method, class C, class Item>
struct Point<method, HRESULT (STDMETHODCALLTYPE C::*)(ULONG, Item**, ULONG*)> : PointName<method, Point<method>> {
    static HRESULT STDMETHODCALLTYPE Thunk(C* self, ULONG wanted, Item** items, ULONG* fetched) {
        using namespace answers;
        auto real = Point::Real(self);
        if (!FromProgram(__builtin_return_address(0))) {
            PlatformCall platform;
            return real(self, wanted, items, fetched);
        }
        constexpr bool pins = std::is_same_v<Item, IPin>;
        const std::string& owner = OwnerName(self);
        const int k = chooser.Choose(self, owner, Point::name, NextAnswers::names, pins ? 3 : 2,
                                     [&] { return owner + "." + Point::name + "()"; });
        if (k == fail || k == oddly) {
            std::fill(items, items + wanted, nullptr);
            if (fetched) k == fail && strict::on ? strict::Poison(fetched) : void(*fetched = 0);
            return k == fail ? E_FAIL : S_OK;
        }
        if (k == hostile + 1) MakeEndless(self);
        ULONG got = 0;
        HRESULT hr = real(self, wanted, items, &got);
        got = hr == S_OK ? wanted : SUCCEEDED(hr) ? std::min(got, wanted) : 0;
        // No end: the items again from the first, and when there are none, nothing with S_OK.
        if (hr != S_OK && Endless(self)) {
            std::for_each(items, items + got, [](Item* item) { Drop(item); });
            reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(C*)>(OriginalVtable(self)[5])(self);  // Reset
            if ((hr = real(self, wanted, items, &got)) != S_OK) std::fill(items, items + wanted, nullptr), hr = S_OK;
            got = wanted;
        }
        if (k == withObjects && hr == S_OK) {
            hr = S_FALSE;
            if (strict::on) std::for_each(items, items + got, [](Item* item) { Drop(item); }), got = 0;
        }
        if (strict::on && hr == S_FALSE) std::for_each(items + got, items + wanted, [](Item*& item) { strict::Poison(&item); });
        if (k == hostile) {
            std::for_each(items, items + got, [](Item* item) { Drop(item); });
            std::fill(items, items + wanted, nullptr), hr = S_OK, got = wanted;
        }
        if constexpr (pins)
            if (k == hostile + 2)
                for (Item** item = items; item < items + got; ++item)
                    if (IPin* real = *item) *item = FreshPin(real), Drop(real);
        for (Item** item = items; item < items + got; ++item) Adopt(item);
        if constexpr (std::is_same_v<Item, IMoniker>)
            if (hr == S_OK && got && items[0]) NoteDevice(items[0]);
        if (fetched) *fetched = got;
        return hr;
    }
};
#define FAULT_POINT(method) ::hooks::Point<&method>::Make(#method)

// A platform operation answered by the chooser while the object lives, in front of whatever
// stands in the seam now. Its odd success, where it answers an HRESULT; with `memory`, a
// world fails it now and then, as when memory runs out.
template <auto& slot, class = std::remove_reference_t<decltype(slot)>>
class Seam;
template <auto& slot, class R, class... A>
class Seam<slot, R(WINAPI*)(A...)> {
public:
    explicit Seam(const char* n, HRESULT o = S_FALSE, bool memory = false) : saved(slot) {
        name = n, odd = o, kinds = memory, real = slot, slot = &Call;
    }
    ~Seam() {
        if (slot != &Call) strict::Complain(std::string(name) + " was taken out of its seam; ");
        slot = saved;
    }

private:
    static R WINAPI Call(A... a) {
        using namespace answers;
        static const std::string owner = "seam";
        const int k = chooser.Choose(nullptr, owner, name, SeamAnswers::names, kinds, [] { return std::string(name); });
        if (k >= hostile) return NoteNoCameraName(), R{};
        constexpr bool hresult = std::is_same_v<R, HRESULT>;
        if (k == fail || k == oddly) {
            if (k == fail && strict::on) strict::Failed(real, a...);
            else (Clear(a), ...);
            if constexpr (hresult) return k == fail ? E_FAIL : odd;
            return R{};
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
        if constexpr (hresult)
            if (k == withObjects && r == S_OK && (odd == S_FALSE || odd == S_OK)) return S_FALSE;
        return r;
    }
    static inline const char* name;
    static inline HRESULT odd;
    static inline int kinds;
    static inline R(WINAPI* real)(A...);
    R(WINAPI* saved)(A...);
};

}  // namespace hooks
