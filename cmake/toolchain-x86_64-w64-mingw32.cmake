# Cross build for 64-bit Windows; test programs run under 64-bit Wine: the tools' own
# wine64 when they configure (tools/env.sh), else Debian's loader, which is out of PATH.
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
find_program(WINE64 wine64 PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE64})
