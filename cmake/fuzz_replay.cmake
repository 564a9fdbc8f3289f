# The fuzz targets' seeds, replayed in the native test run.
#
# venbrook_add_fuzz_replay(<target>)
#   Builds fuzz/<target>_fuzz.cpp with the native compiler (and, in the
#   linux-asan preset, its sanitizers) against fuzz/replay/replay_main.cpp and
#   the portable core's libraries, and registers the ctest entry
#   fuzz_corpus_replay_<target>, which feeds it every file of
#   fuzz/corpus/<target>/. A failed property names the file it failed on.
#
# venbrook_check_fuzz_replays()
#   After the targets: a fuzz/*_fuzz.cpp without its venbrook_add_fuzz_replay
#   line gets a failing entry of the same name that says so, so that no
#   target's corpus goes unreplayed unnoticed; and the replay's self-test.

set(VENBROOK_FUZZ_DIR ${PROJECT_SOURCE_DIR}/fuzz)

function(venbrook_add_replay_executable executable target_source)
  add_executable(${executable} ${target_source} ${VENBROOK_FUZZ_DIR}/replay/replay_main.cpp)
  target_include_directories(${executable} PRIVATE ${PROJECT_SOURCE_DIR})
  # The whole core: a static library gives each target only what it uses;
  # minizip's writer for the targets that make archives.
  target_link_libraries(${executable} PRIVATE venbrook_commands venbrook::minizip)
  target_compile_options(${executable} PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra>)
endfunction()

function(venbrook_add_fuzz_replay target)
  venbrook_add_replay_executable(fuzz_replay_${target} ${VENBROOK_FUZZ_DIR}/${target}_fuzz.cpp)
  add_test(NAME fuzz_corpus_replay_${target} COMMAND fuzz_replay_${target} ${VENBROOK_FUZZ_DIR}/corpus/${target})
  set_tests_properties(fuzz_corpus_replay_${target} PROPERTIES TIMEOUT 60)
endfunction()

function(venbrook_check_fuzz_replays)
  file(GLOB sources CONFIGURE_DEPENDS ${VENBROOK_FUZZ_DIR}/*_fuzz.cpp)
  foreach(source IN LISTS sources)
    get_filename_component(file ${source} NAME)
    string(REGEX REPLACE "_fuzz\\.cpp$" "" target ${file})
    if(NOT TARGET fuzz_replay_${target})
      add_test(NAME fuzz_corpus_replay_${target}
               COMMAND ${CMAKE_COMMAND} -E echo
                       "fuzz/${file} is not replayed: add venbrook_add_fuzz_replay(${target}) to tests/CMakeLists.txt")
      set_tests_properties(fuzz_corpus_replay_${target} PROPERTIES WILL_FAIL TRUE)
    endif()
  endforeach()

  venbrook_add_replay_executable(fuzz_replay_probe ${VENBROOK_FUZZ_DIR}/replay/probe.cpp)
  add_test(NAME fuzz_replay_self_test
           COMMAND ${CMAKE_COMMAND} -DPROBE=$<TARGET_FILE:fuzz_replay_probe>
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/fuzz_replay_self_test
                   -P ${VENBROOK_FUZZ_DIR}/replay/self_test.cmake)
endfunction()
