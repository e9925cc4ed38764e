# Cross-compile Quillet.exe for 64-bit Windows with Debian's MinGW-w64.
#
# The win32 thread model: the program has one thread, and the posix model
# would link the winpthreads library into it, whose thread- and
# process-control imports (SuspendThread, SetThreadContext, OpenProcess ...)
# are what security tools look for in a program that injects keys. When this
# compiler is missing the build fails; nothing falls back to the posix one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# No MinGW runtime DLLs beside the program: everything is linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs every Windows executable through this wrapper, which uses the
# Wine prefix and X display that scripts/test prepared.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
