#pragma once
// Only what the platform's documentation promises, where Wine gives more: Wine's
// VariantInit zeroes the whole variant, its enumerators leave the slots past the count
// alone, its SysFreeString and CoTaskMemFree shrug off pointers they never handed out. In
// strict mode (the default; NAVOLET_STRICT=0 in the environment turns it off) the seams and
// the fault points give no more: VariantInit sets only the type, a failed call leaves a
// poison pattern wherever its documentation leaves a value undefined, and every block the
// program frees must be one the task allocator handed out and has not taken back.
#include <string>
#include <type_traits>

#include "platform/Seam.h"

namespace strict {

extern bool on;

// Fills what the documentation leaves undefined: negative as a number, no address as a
// pointer.
void Poison(void* bytes, size_t size);
template <class T>
void Poison(T* value) { Poison(value, sizeof *value); }

// Task memory handed out and not freed since (the allocator's spy sees Wine's, the demo
// camera's and the doubles' blocks alike), and BSTRs among it.
bool IsTaskBlock(const void* block);
bool IsBstr(BSTR text);
// Blocks of the doubles', counted until freed.
void Watch(void* block);
int Watched();

// Calls against the contract (a free of what was never handed out), until someone reports
// them: the fault sweep with its fault point, otherwise the test they happen in.
void Complain(const std::string& what);
std::string TakeComplaints();

// A failed call's out-parameter: an out pointer is null (the COM rule for error returns),
// a number, a direction or what a caller-allocated record holds besides its pointers is
// undefined. Read-only arguments and in-out ones are left as they were.
template <class T>
void Spoil(T arg) {
    using P = std::remove_pointer_t<T>;
    if constexpr (std::is_pointer_v<T> && !std::is_const_v<P>) {
        if (!arg) return;
        if constexpr (std::is_pointer_v<P>) *arg = nullptr;
        // Narrower ones are characters, which the calls here take only as input.
        else if constexpr ((std::is_integral_v<P> || std::is_enum_v<P>) && sizeof(P) >= 4) Poison(arg);
        else if constexpr (std::is_same_v<P, PIN_INFO>) Poison(arg), arg->pFilter = nullptr;
        else if constexpr (std::is_same_v<P, CAUUID>) Poison(arg), arg->pElems = nullptr;
    }
}
// What a failed interface method leaves; the property set's data buffer is sized by its
// own argument.
template <class C, class... A>
void FailedMethod(C*, A... a) { (Spoil(a), ...); }
void FailedMethod(IKsPropertySet*, REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned);

// What a failed platform operation leaves in its buffers, by operation.
template <class F, class... A>
void Failed(F, A... a) { (Spoil(a), ...); }
void Failed(decltype(&::GetVersionExA), LPOSVERSIONINFOA version);
void Failed(decltype(&::GetLocaleInfoA), LCID, LCTYPE, LPSTR text, int size);
void Failed(decltype(&::MultiByteToWideChar), UINT, DWORD, LPCCH, int, LPWSTR text, int size);
// Its object array is the caller's input.
inline void Failed(decltype(&::OleCreatePropertyFrame), HWND, UINT, UINT, LPCOLESTR, ULONG, LPUNKNOWN*, ULONG, LPCLSID,
                   LCID, DWORD, LPVOID) {}

// The allocator's spy, and in strict mode the strict seams, for the test program's life;
// complaints left at the end of a test fail it.
void Install();

}  // namespace strict
