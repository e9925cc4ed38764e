# GoogleTest: the installed package where there is one (native Linux, vcpkg on
# Windows), else built from Debian's sources for the cross build.
find_package(GTest QUIET)
if(NOT GTest_FOUND)
  set(QUILLET_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QUILLET_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
