// The test program's entry: COM on this thread for the whole run, as the tray window has it,
// and the platform held to what its documentation promises.
#include <gtest/gtest.h>

#include <cstdio>

#include "doubles/Strict.h"
#include "platform/Win.h"

namespace {
// Under Wine a crash ends in its debugger and the process reports success: fail instead.
LONG WINAPI Crashed(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "crashed: exception 0x%lx at %p\n", e->ExceptionRecord->ExceptionCode, e->ExceptionRecord->ExceptionAddress);
    return std::fflush(stderr), ExitProcess(3), 0;
}
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    SetUnhandledExceptionFilter(&Crashed);
    CoInitialize(nullptr);
    strict::Install();
    return RUN_ALL_TESTS();
}
