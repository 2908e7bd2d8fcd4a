# Tests of the window program: composition, events and waits with SDL's
# offscreen driver; the real binary's start-up failures; the install; and
# end-to-end runs under Xvfb.
file(GLOB ORVO_WINDOW_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
if(TARGET orvo AND ORVO_WINDOW_TEST_SOURCES)
  add_executable(orvo_window_tests ${ORVO_WINDOW_TEST_SOURCES}
    ${CMAKE_CURRENT_LIST_DIR}/program_runner.cpp)
  orvo_layer_includes(orvo_window_tests tests)
  target_link_libraries(orvo_window_tests PRIVATE orvo_platform_sdl GTest::gtest_main GTest::gtest)
  target_compile_definitions(orvo_window_tests PRIVATE
    ORVO_GRAPHICS_DIR="${ORVO_GRAPHICS_BUILD}/" ORVO_PROGRAM="$<TARGET_FILE:orvo>"
    ORVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_dependencies(orvo_window_tests orvo)
  gtest_discover_tests(orvo_window_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy" TIMEOUT 120)

  # Full screen and the window's class under Xvfb, which has no window
  # manager.
  add_test(NAME window.fullscreen_end_to_end
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/fullscreen_end_to_end.sh $<TARGET_FILE:orvo>)
  set_tests_properties(window.fullscreen_end_to_end PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")

  add_test(NAME window.install
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR})

  # Closing the window as a window manager does, for the end-to-end run.
  find_package(X11)
  if(X11_FOUND)
    add_executable(orvo_wm_delete ${CMAKE_CURRENT_LIST_DIR}/wm_delete.cpp)
    target_link_libraries(orvo_wm_delete PRIVATE X11::X11)
    add_test(NAME window.end_to_end
      COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/end_to_end.sh
              $<TARGET_FILE:orvo> $<TARGET_FILE:orvo_wm_delete> $<TARGET_FILE:orvo-replay>)
    set_tests_properties(window.end_to_end PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
      ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")
  endif()
endif()
