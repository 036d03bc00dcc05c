// The stack cookie that every function with a local array checks on its way out
// (-fstack-protector-strong), and what happens when the check fails. The compiler's own
// runtime for it would seed the cookie well enough, but would end a smashed process with
// an illegal instruction, which any exception handler or filter in the process sees and
// may go on from. Here a failed check is the system's fast fail, as Windows programs
// report a broken cookie: the process ends at once, with STATUS_STACK_BUFFER_OVERRUN,
// and no code of the process runs again.
#include <windows.h>
#include <ntsecapi.h>

#include <cstdint>

extern "C" {
// Never zero, and set before any protected function of the program runs: the seeding
// below is a constructor, and whatever is on the stack then is the C runtime's start-up,
// which checks no cookie.
std::uintptr_t __stack_chk_guard = 0;

__attribute__((noreturn)) void __stack_chk_fail() {
    // __fastfail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE), which this toolchain's headers lack.
    __asm__ volatile("int $0x29" : : "c"(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE) : "memory");
    // Only a system without fast fail gets here.
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}
}

namespace {
// From the system's random number generator; should it fail, from what differs between
// processes and between starts, as the platform's own cookie is. It changes the cookie,
// so it must not check one itself.
__attribute__((constructor(101), no_stack_protector)) void SeedStackGuard() {
    if (RtlGenRandom(&__stack_chk_guard, sizeof __stack_chk_guard) && __stack_chk_guard) return;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    __stack_chk_guard ^= static_cast<std::uintptr_t>(counter.QuadPart) ^ GetCurrentProcessId() ^
                         (static_cast<std::uintptr_t>(GetCurrentThreadId()) << 8) ^ GetTickCount() ^
                         reinterpret_cast<std::uintptr_t>(&counter);
    if (!__stack_chk_guard) __stack_chk_guard = 0x2B992DDFu;
}
}  // namespace
