# Every tests/scenarios/NAME.scn is run through orvo-replay and compared with
# the files beside it: NAME.out is the expected standard output. With a
# NAME.err, the run must end with exit status 2 and exactly that standard
# error; without one, it must end with status 0 and print nothing there.
# Each scenario runs twice, with idle loop turns skipped (the default) and
# with every turn taken 1 ms at a time (--no-skip): both must match.
if(NOT TARGET orvo-replay)
  return()
endif()
file(GLOB ORVO_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/*.scn)
foreach(scenario ${ORVO_SCENARIOS})
  get_filename_component(name ${scenario} NAME_WLE)
  foreach(mode skip step)
    add_test(NAME scenario.${name}.${mode}
      COMMAND ${CMAKE_COMMAND} -DREPLAY=$<TARGET_FILE:orvo-replay> -DSCENARIO=${scenario}
        -DMODE=${mode} -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/scenarios/${name}.${mode}
        -P ${CMAKE_CURRENT_SOURCE_DIR}/scenario_check.cmake)
    set_tests_properties(scenario.${name}.${mode} PROPERTIES LABELS scenario)
  endforeach()
endforeach()
