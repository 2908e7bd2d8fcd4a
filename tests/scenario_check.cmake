# Runs one scenario through orvo-replay (in a scratch folder, where its
# snapshots land) and compares its output, error output and exit status with
# the expected files; prints a diff on a mismatch. A SCENARIO ending in
# .scn.cmake is a script that writes the scenario (to OUT) first.
# Variables: REPLAY, SCENARIO, WORK_DIR.
get_filename_component(folder ${SCENARIO} DIRECTORY)
get_filename_component(file ${SCENARIO} NAME)
string(REGEX REPLACE "\\.scn(\\.cmake)?$" "" name ${file})
set(expected_out ${folder}/${name}.out)
set(expected_err ${folder}/${name}.err)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(scenario ${SCENARIO})
if(SCENARIO MATCHES "\\.cmake$")
  set(OUT ${WORK_DIR}/${name}.scn)
  include(${SCENARIO})
  set(scenario ${OUT})
endif()
execute_process(COMMAND ${REPLAY} ${scenario}
  WORKING_DIRECTORY ${WORK_DIR}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(WRITE ${WORK_DIR}/actual.out "${out}")
file(WRITE ${WORK_DIR}/actual.err "${err}")

set(failures "")
macro(compare expected actual what)
  if(NOT EXISTS ${expected})
    string(APPEND failures "missing ${expected}\n")
  else()
    file(READ ${expected} wanted)
    file(READ ${actual} got)
    if(NOT wanted STREQUAL got)
      string(APPEND failures "${what} differs\n")
      execute_process(COMMAND diff -u ${expected} ${actual})
    endif()
  endif()
endmacro()

compare(${expected_out} ${WORK_DIR}/actual.out "standard output")
if(EXISTS ${expected_err})
  if(NOT status EQUAL 2)
    string(APPEND failures "exit status ${status}, expected 2\n")
  endif()
  compare(${expected_err} ${WORK_DIR}/actual.err "standard error")
else()
  if(NOT status EQUAL 0)
    string(APPEND failures "exit status ${status}, expected 0\n")
  endif()
  if(NOT err STREQUAL "")
    string(APPEND failures "unexpected standard error: ${err}\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "${SCENARIO}:\n${failures}")
endif()
