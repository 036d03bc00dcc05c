// The stack cookie of the product's code, in a program built as Navolet.exe is
// (tests/overrun/StackOverrun.cpp): seeded anew for each process, and a local array run
// past its end ends the process at once with the platform's fast fail, running none of
// its exception handlers, instead of returning.
#include <gtest/gtest.h>

#include <string>

#include "platform/Win.h"

namespace {
// StackOverrun's exit code for the argument.
DWORD RunStackOverrun(const std::string& argument) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path, length);
    program = program.substr(0, program.find_last_of('\\') + 1) + "StackOverrun.exe";
    std::string line = "\"" + program + "\" " + argument;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "CreateProcess " << program << ": error " << GetLastError();
        return 0;
    }
    DWORD code = STILL_ACTIVE;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000)) << argument;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}
}  // namespace

TEST(StackGuard, EachProcessHasItsOwnCookieAndAnOverrunEndsItWithTheFastFail) {
    DWORD first = RunStackOverrun("cookie"), second = RunStackOverrun("cookie");
    EXPECT_NE(first, second) << "the same cookie in two processes: 0x" << std::hex << first;
    EXPECT_NE(0u, first);
    EXPECT_EQ(0u, RunStackOverrun("1234567")) << "a copy that fits";
    EXPECT_EQ(static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN), RunStackOverrun(std::string(64, 'A')))
        << "a copy of 64 bytes into 8";
}
