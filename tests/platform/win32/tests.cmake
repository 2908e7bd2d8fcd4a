# The tests that make sense on Windows, cross-built and run under Wine: the
# modules' (gfx with the picture decoder built for Windows and its damaged
# files, game, app with the shell on the headless platform) and the window's
# own (those that open it, in
# Xvfb). Each program runs as one test, since every Wine process costs a
# start-up; their output names any failing case. Then the real program end
# to end under Wine in Xvfb.
set(ORVO_WIN32_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
foreach(folder gfx game app platform/win32)
  get_filename_component(module ${folder} NAME)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*_test.cpp)
  add_executable(orvo_${module}_tests ${sources})
  orvo_layer_includes(orvo_${module}_tests tests)
  target_link_libraries(orvo_${module}_tests PRIVATE GTest::gtest_main GTest::gtest)
  target_compile_definitions(orvo_${module}_tests PRIVATE
    ORVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ORVO_BINARY_DIR="${CMAKE_BINARY_DIR}"
    ORVO_GRAPHICS_DIR="${ORVO_GRAPHICS_BUILD}/")
  add_test(NAME win32.${module}
    COMMAND orvo_${module}_tests --gtest_filter=-Win32Window.*)
  set_tests_properties(win32.${module} PROPERTIES TIMEOUT 600)
endforeach()
target_link_libraries(orvo_gfx_tests PRIVATE orvo_gfx JPEG::JPEG)
target_link_libraries(orvo_game_tests PRIVATE orvo_game)
target_link_libraries(orvo_app_tests PRIVATE orvo_app orvo_platform_headless)
# The label glyph atlas built into the program, checked against every caption
# the game shows (LabelGlyphs.*, in win32.app).
target_compile_definitions(orvo_app_tests PRIVATE ORVO_GLYPHS_FILE="${ORVO_GLYPHS}")
# The shell's tests read its state dump with the JSON library (app/).
target_include_directories(orvo_app_tests SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/third-party/json)
# The window opens with the program's resources (its background and glyphs).
target_link_libraries(orvo_win32_tests PRIVATE orvo_platform_win32 orvo_win32_resources
  orvo_platform_headless)
# The window's own tests open it: in Xvfb, in a Wine session of their own.
add_test(NAME win32.window
  COMMAND sh ${ORVO_WIN32_TEST_DIR}/in_xvfb.sh ${ORVO_WINEPREFIX}
          $<TARGET_FILE:orvo_win32_tests> --gtest_filter=Win32Window.*)
set_tests_properties(win32.window PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)

# orvo.exe's std::terminate handler: an uncaught exception's message, then
# abort.
add_executable(orvo_uncaught_exception ${ORVO_WIN32_TEST_DIR}/uncaught_exception.cpp
  ${CMAKE_SOURCE_DIR}/platform/win32/terminate_handler.cpp)
add_test(NAME win32.terminate_handler COMMAND orvo_uncaught_exception)
set_tests_properties(win32.terminate_handler PROPERTIES TIMEOUT 300 PASS_REGULAR_EXPRESSION
  "terminate called after throwing an exception\r?\n  what\\(\\):  nobody catches this\r?\naborted")

# The program's resources and imports, read from the file.
find_program(ORVO_MINGW_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
add_test(NAME win32.resources
  COMMAND sh ${ORVO_WIN32_TEST_DIR}/resources_check.sh $<TARGET_FILE:orvo_win32>
          ${PROJECT_VERSION} ${ORVO_MINGW_OBJDUMP})

# The real program under Wine in Xvfb, its seeded game compared with
# orvo-replay of a native build.
set(ORVO_REPLAY "" CACHE FILEPATH "orvo-replay of a native build, for the end-to-end test")
add_test(NAME win32.end_to_end
  COMMAND sh ${ORVO_WIN32_TEST_DIR}/end_to_end.sh $<TARGET_FILE:orvo_win32> ${ORVO_WINEPREFIX})
set_tests_properties(win32.end_to_end PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE
  ENVIRONMENT "ORVO_REPLAY=${ORVO_REPLAY}")
