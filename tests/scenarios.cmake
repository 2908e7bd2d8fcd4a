# Every tests/scenarios/NAME.scn is run through orvo-replay and compared with
# the files beside it: NAME.out is the expected standard output. With a
# NAME.err, the run must end with exit status 2 and exactly that standard
# error; without one, it must end with status 0 and print nothing there.
if(NOT TARGET orvo-replay)
  return()
endif()
file(GLOB ORVO_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/*.scn)
foreach(scenario ${ORVO_SCENARIOS})
  get_filename_component(name ${scenario} NAME_WLE)
  add_test(NAME scenario.${name}
    COMMAND ${CMAKE_COMMAND} -DREPLAY=$<TARGET_FILE:orvo-replay> -DSCENARIO=${scenario}
      -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/scenarios/${name}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/scenario_check.cmake)
  set_tests_properties(scenario.${name} PROPERTIES LABELS scenario)
endforeach()
