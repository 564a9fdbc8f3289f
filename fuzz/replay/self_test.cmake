# The replay against the probe target (probe.cpp). On a corpus of one input
# that breaks the probe's property the run must stop, and the last input it
# names must be that one; on a corpus folder that is empty or not there at
# all it must fail rather than pass having fed nothing.
#   cmake -DPROBE=<fuzz_replay_probe> -DWORK=<scratch folder> -P self_test.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/empty)
file(WRITE ${WORK}/corpus/seed "fails")
execute_process(COMMAND ${PROBE} ${WORK}/corpus RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(status EQUAL 0 OR NOT out MATCHES "replaying [^\n]*/corpus/seed\n$" OR NOT err MATCHES "property failed")
  message(FATAL_ERROR "the replay did not stop at the failing input and name it:\n"
                      "status ${status}\nstdout:\n${out}\nstderr:\n${err}")
endif()
foreach(folder empty missing)
  execute_process(COMMAND ${PROBE} ${WORK}/${folder} RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(status EQUAL 0)
    message(FATAL_ERROR "the replay passed on the corpus folder '${folder}'")
  endif()
endforeach()
message("the replay stopped at the failing input and named it, and refused an empty or missing corpus")
