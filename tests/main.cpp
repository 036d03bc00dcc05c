// The test program's entry: COM on this thread for the whole run, as the tray window has it,
// and the platform held to what its documentation promises.
#include <gtest/gtest.h>

#include <cstdio>

#include "doubles/Answers.h"
#include "doubles/Strict.h"
#include "platform/Win.h"

namespace {
// Under Wine a crash ends in its debugger and the process reports success: fail instead.
LONG WINAPI Crashed(EXCEPTION_POINTERS* e) {
    char module[MAX_PATH] = "?";
    HMODULE where = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<const char*>(e->ExceptionRecord->ExceptionAddress), &where))
        GetModuleFileNameA(where, module, sizeof module);
    std::fprintf(stderr, "crashed: exception 0x%lx at %p (%s+0x%zx)\n", e->ExceptionRecord->ExceptionCode,
                 e->ExceptionRecord->ExceptionAddress, module,
                 static_cast<size_t>(static_cast<const char*>(e->ExceptionRecord->ExceptionAddress) - reinterpret_cast<const char*>(where)));
    if (answers::chooser.active) std::fprintf(stderr, "crashed in %s\n", answers::chooser.Now().c_str());
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
