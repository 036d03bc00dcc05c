#include "platform/Seam.h"

namespace {

// Loaded at the first call of one of its operations. It is part of every Windows, as it
// was when the executable imported it and could not have started without it.
HMODULE oleaut32;

template <class Operation>
struct FirstCall;

template <class Result, class... Arguments>
struct FirstCall<Result(WINAPI*)(Arguments...)> {
    using Operation = Result(WINAPI*)(Arguments...);
    // Calls the DLL's function, and points the seam's operation at it for good unless
    // someone has put an operation of their own there meanwhile (and called this one as
    // the original it wraps).
    template <Operation* operation, const char* name>
    static Result WINAPI Call(Arguments... arguments) {
        if (!oleaut32) oleaut32 = LoadLibraryA("oleaut32.dll");
        auto function = reinterpret_cast<Operation>(reinterpret_cast<void*>(GetProcAddress(oleaut32, name)));
        if (*operation == &Call<operation, name>) *operation = function;
        return function(arguments...);
    }
};

}  // namespace

namespace platform {

#define NAVOLET_DEFINE_OPERATION(name) decltype(&::name) name = &::name;
NAVOLET_IMPORTED_OPERATIONS(NAVOLET_DEFINE_OPERATION)
#undef NAVOLET_DEFINE_OPERATION

#define NAVOLET_DEFINE_LOADED_OPERATION(name) \
    constexpr char name##Name[] = #name; \
    decltype(&::name) name = &FirstCall<decltype(&::name)>::Call<&name, name##Name>;
NAVOLET_OLEAUT32_OPERATIONS(NAVOLET_DEFINE_LOADED_OPERATION)
#undef NAVOLET_DEFINE_LOADED_OPERATION

}  // namespace platform
