# The cross build of the Windows test executables. GoogleTest needs
# std::mutex, which only MinGW-w64's posix thread model provides, so the
# tests use that model; its runtime is linked in statically like the rest.
#
# Quillet.exe itself is never built with this toolchain: a tree configured
# with it builds the program through the release preset instead, so that the
# tests run the very executable that is released.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(QUILLET_PROGRAM_PRESET release)
