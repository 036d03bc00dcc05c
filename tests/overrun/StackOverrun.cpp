// Built as Navolet.exe is, for the stack cookie's test (tests/platform/StackGuardTest.cpp):
//   StackOverrun cookie   exits with the process's cookie, folded to 32 bits
//   StackOverrun TEXT     copies TEXT into an 8-byte local array, and exits with 0 if it
//                         gets back from there
// An exception handler ends the process with 1: a broken cookie must end it without one.
#include <windows.h>

#include <cstdint>
#include <cstring>

extern "C" std::uintptr_t __stack_chk_guard;

namespace {
__attribute__((noinline)) void CopyToLocal(const char* text) {
    char local[8];
    std::memcpy(local, text, std::strlen(text));
    __asm__ volatile("" : : "r"(local) : "memory");
}

LONG WINAPI Handled(EXCEPTION_POINTERS*) { ExitProcess(1); }
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    if (!std::strcmp(argv[1], "cookie")) {
        std::uint64_t cookie = __stack_chk_guard;
        return static_cast<int>(static_cast<std::uint32_t>(cookie ^ (cookie >> 32)));
    }
    AddVectoredExceptionHandler(1, &Handled);
    SetUnhandledExceptionFilter(&Handled);
    CopyToLocal(argv[1]);
    return 0;
}
