# orvo-replay with its standard output on /dev/full, where every write fails
# with "No space left on device": a scenario's short output fails at the last
# flush, --help's at once. Both must exit with status 2 and say so.
# Variables: REPLAY.
set(failures "")
macro(expect what status err wanted_err)
  if(NOT ${status} EQUAL 2)
    string(APPEND failures "${what}: exit status ${${status}}, expected 2\n")
  endif()
  if(NOT "${${err}}" STREQUAL "${wanted_err}")
    string(APPEND failures "${what}: standard error is \"${${err}}\"\n")
  endif()
endmacro()

file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/full_device.scn "# one line of output\ndump\n")
execute_process(COMMAND ${REPLAY} ${CMAKE_CURRENT_BINARY_DIR}/full_device.scn
  OUTPUT_FILE /dev/full ERROR_VARIABLE err RESULT_VARIABLE status)
expect("dump" status err
  "orvo-replay: line 2: cannot write standard output: No space left on device\n")

execute_process(COMMAND ${REPLAY} --help
  OUTPUT_FILE /dev/full ERROR_VARIABLE err RESULT_VARIABLE status)
expect("--help" status err
  "orvo-replay: line 0: cannot write standard output: No space left on device\n")

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
