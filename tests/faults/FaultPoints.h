#pragma once
// Fault points without a double per fault: a hooked object gets a copy of its vtable in
// which the listed methods first ask the plan whether this call is the one to fail. The
// plan counts the calls of a run, so a recording run lists the points and each is then
// armed in turn. Objects a hooked call hands out are hooked in turn.
#include "doubles/ComDoubles.h"
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace faults {

enum class Mode {
    Fail,              // E_FAIL, no object handed out
    OddSuccess,        // a success code (S_FALSE unless the call names another) and no object
    SuccessWithObject, // the call does its work and hands out its objects, but says S_FALSE
};

struct FaultPlan {
    void Arm(int k, Mode m) { active = true, target = k, mode = m, fired = false, points.clear(); }
    void Record() { Arm(-1, Mode::Fail); }
    bool active = false, fired = false;
    int target = -1;
    Mode mode = Mode::Fail;
    std::vector<std::string> points;  // every call counted since Arm, by name
};
extern FaultPlan plan;

enum class Shot { Pass, Fail, Adjust };
Shot Hit(const std::string& point);
// Hooks every hookable interface each object answers.
void HookAll(const std::vector<IUnknown*>& objects);
void** OriginalVtable(void* object);
const std::string& OwnerName(void* object);
// QueryInterface counts only for the interfaces the program asks for.
bool Faultable(REFIID iid, void** = nullptr);

// A failed call hands out no object: out-pointers and counts come back zeroed (character
// buffers are left alone). A passing one has what it hands out hooked, the filter a pin
// information names too.
template <class T>
void Clear(T& arg) {
    using P = std::remove_pointer_t<T>;
    if constexpr (std::is_pointer_v<T> && !std::is_const_v<P> && (std::is_pointer_v<P> || std::is_integral_v<P> || std::is_enum_v<P>))
        if (arg && (std::is_pointer_v<P> || sizeof(P) >= 4)) *arg = P{};
}
template <class T>
void Adopt(T& arg) {
    if constexpr (std::is_same_v<T, PIN_INFO*>) {
        if (arg) HookAll({arg->pFilter});
    } else if constexpr (std::is_pointer_v<T> && std::is_pointer_v<std::remove_pointer_t<T>>) {
        using I = std::remove_pointer_t<std::remove_pointer_t<T>>;
        if constexpr (std::is_base_of_v<IUnknown, I> || std::is_void_v<I>)
            if (arg && *arg) HookAll({static_cast<IUnknown*>(*arg)});
    }
}

// What a failed call answers, or a passed one after Adjust (only where the odd success is
// S_FALSE). Operations not answering an HRESULT fail with zero.
template <class R>
R Outcome(Shot shot, R passed, HRESULT odd) {
    if constexpr (!std::is_same_v<R, HRESULT>) return shot == Shot::Fail ? R{} : passed;
    else if (shot == Shot::Fail) return plan.mode == Mode::Fail ? E_FAIL : odd;
    else return shot == Shot::Adjust && odd == S_FALSE && passed == S_OK ? S_FALSE : passed;
}

template <auto method>
int SlotOf() {
    struct { ptrdiff_t ptr, adj; } raw;  // a virtual one is 1 + its offset in the vtable
    auto m = method;
    return std::memcpy(&raw, &m, sizeof raw), static_cast<int>((raw.ptr - 1) / sizeof(void*));
}

// COM methods follow the calling convention of a function with the object first.
template <auto method, HRESULT odd = S_FALSE, class = decltype(method)>
struct Point;
template <auto method, HRESULT odd, class C, class... A>
struct Point<method, odd, HRESULT (STDMETHODCALLTYPE C::*)(A...)> {
    static HRESULT STDMETHODCALLTYPE Thunk(C* self, A... a) {
        auto real = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(C*, A...)>(OriginalVtable(self)[SlotOf<method>()]);
        if constexpr (std::is_same_v<C, IUnknown>)
            if (!Faultable(a...)) return real(self, a...);
        Shot shot = Hit(OwnerName(self) + "." + name);
        if (shot == Shot::Fail) return (Clear(a), ...), Outcome<HRESULT>(shot, S_OK, odd);
        HRESULT hr = real(self, a...);
        return (Adopt(a), ...), Outcome(shot, hr, odd);
    }
    static std::pair<int, void*> Make(const char* qualified) {
        name = std::strrchr(qualified, ':') ? std::strrchr(qualified, ':') + 1 : qualified;
        return {SlotOf<method>(), reinterpret_cast<void*>(&Thunk)};
    }
    static inline const char* name;
};
#define FAULT_POINT(method, ...) ::faults::Point<&method, ##__VA_ARGS__>::Make(#method)

// A platform operation as a fault point while the object lives, in front of whatever
// stands in the seam now.
template <auto& slot, class = std::remove_reference_t<decltype(slot)>>
class FaultySeam;
template <auto& slot, class R, class... A>
class FaultySeam<slot, R(WINAPI*)(A...)> {
public:
    explicit FaultySeam(const char* n, HRESULT o = S_FALSE) : seam(slot, (name = n, odd = o, real = slot, &Call)) {}

private:
    static R WINAPI Call(A... a) {
        Shot shot = Hit(name);
        if (shot == Shot::Fail) return (Clear(a), ...), Outcome<R>(shot, R{}, odd);
        R r = real(a...);
        return (Adopt(a), ...), Outcome(shot, r, odd);
    }
    static inline const char* name;
    static inline HRESULT odd;
    static inline R(WINAPI* real)(A...);
    SeamOverride<R(WINAPI*)(A...)> seam;
};

// The tally of a sweep: "N fault points, N survived".
struct Tally {
    int points = 0, survived = 0;
    void Count(bool ok, int k, Mode mode, const std::string& name);
    void Print(const char* what) const { std::printf("%s%d fault points, %d survived\n", what, points, survived); }
};

}  // namespace faults
