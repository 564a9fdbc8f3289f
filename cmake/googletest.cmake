# GoogleTest and venbrook_add_test().
#   native build:  the system GoogleTest (Debian's libgtest-dev)
#   Windows build: GoogleTest compiled from Debian's source copy in
#                  /usr/src/googletest (package googletest)
# Either way the targets are GTest::gtest, GTest::gtest_main, GTest::gmock
# and GTest::gmock_main.

include(GoogleTest)

if(WIN32)
  set(VENBROOK_GOOGLETEST_SOURCE_DIR /usr/src/googletest
      CACHE PATH "GoogleTest source tree used for the Windows build")
  if(NOT EXISTS "${VENBROOK_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR
      "GoogleTest sources not found in ${VENBROOK_GOOGLETEST_SOURCE_DIR}.\n"
      "Run scripts/setup.sh (it installs the googletest package).")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)   # Win32 threads instead
  add_subdirectory("${VENBROOK_GOOGLETEST_SOURCE_DIR}"
                   "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL SYSTEM)
  foreach(_venbrook_gtest_target IN ITEMS gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${_venbrook_gtest_target})
      add_library(GTest::${_venbrook_gtest_target} ALIAS ${_venbrook_gtest_target})
    endif()
  endforeach()
  unset(_venbrook_gtest_target)
else()
  find_package(GTest REQUIRED)
endif()

# venbrook_add_test(<target> [TIMEOUT <seconds>] [LABELS <label>...])
# venbrook_add_test(NAME <target> ...)
#
# Registers the GoogleTest program <target> with ctest.
#   native build:  one ctest entry per test case (gtest_discover_tests).
#   Windows build: ONE ctest entry for the whole program, run under Wine by
#                  the cross-compiling emulator: every Wine process start costs
#                  time, so the program runs its cases in one process and
#                  prints the GoogleTest report of each.
function(venbrook_add_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TIMEOUT" "LABELS")
  if(NOT arg_NAME)
    list(POP_FRONT arg_UNPARSED_ARGUMENTS arg_NAME)
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "venbrook_add_test: unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_NAME OR NOT TARGET ${arg_NAME})
    message(FATAL_ERROR "venbrook_add_test: '${arg_NAME}' is not a target")
  endif()
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()

  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${arg_NAME} COMMAND ${arg_NAME} --gtest_color=no)
    # Passed only when the program ran to its end: a Windows program that
    # Wine itself ends (as when the process has no room left) can leave an
    # exit code of 0 behind.
    set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT ${arg_TIMEOUT}
                         PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ test"
                         FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
    if(arg_LABELS)
      set_tests_properties(${arg_NAME} PROPERTIES LABELS "${arg_LABELS}")
    endif()
  else()
    set(_properties TIMEOUT ${arg_TIMEOUT})
    if(arg_LABELS)
      list(APPEND _properties LABELS "${arg_LABELS}")
    endif()
    gtest_discover_tests(${arg_NAME}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ${_properties})
  endif()
endfunction()
