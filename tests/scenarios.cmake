# Every tests/scenarios/NAME.scn is run through orvo-replay and compared with
# the files beside it: NAME.out is the expected standard output. With a
# NAME.err, the run must end with exit status 2 and exactly that standard
# error; without one, it must end with status 0 and print nothing there.
# A scenario too large to keep in the repository is made at test time by
# NAME.scn.cmake, a script that writes it to the file named by OUT.
if(NOT TARGET orvo-replay)
  return()
endif()
file(GLOB ORVO_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/*.scn
  ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/*.scn.cmake)
foreach(scenario ${ORVO_SCENARIOS})
  get_filename_component(file ${scenario} NAME)
  string(REGEX REPLACE "\\.scn(\\.cmake)?$" "" name ${file})
  add_test(NAME scenario.${name}
    COMMAND ${CMAKE_COMMAND} -DREPLAY=$<TARGET_FILE:orvo-replay> -DSCENARIO=${scenario}
      -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/scenarios/${name}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/scenario_check.cmake)
  # Every scenario ends in well under a second; a replay that hangs (a game
  # left to run for years of virtual time, say) fails here instead.
  set_tests_properties(scenario.${name} PROPERTIES LABELS scenario TIMEOUT 300)
endforeach()

# Standard output that cannot be written fails the program, also when the
# failure shows only at the last flush.
if(EXISTS /dev/full)
  add_test(NAME replay.output_to_full_device
    COMMAND ${CMAKE_COMMAND} -DREPLAY=$<TARGET_FILE:orvo-replay>
      -P ${CMAKE_CURRENT_SOURCE_DIR}/replay/output_to_full_device.cmake)
  set_tests_properties(replay.output_to_full_device PROPERTIES LABELS scenario TIMEOUT 300)
endif()
