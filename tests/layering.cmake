# The layering test: tests/layering_check.py preprocesses every source file
# of this build's compile_commands.json with the command that compiles it and
# judges each include by the file the compiler opened. The native, Windows
# and web builds each register it, so every file is judged by the compiler
# that builds it; the check itself runs on the host.
find_program(ORVO_PYTHON3 python3 REQUIRED NO_CMAKE_FIND_ROOT_PATH)
if(EMSCRIPTEN)
  set(tree web)
  # bench/asyncify_cost.sh builds this benchmark by itself; compiled here
  # too, its includes are judged with the page's.
  add_library(orvo_asyncify_cost_sources OBJECT ${CMAKE_SOURCE_DIR}/bench/web/asyncify_cost.cpp)
  target_link_libraries(orvo_asyncify_cost_sources PRIVATE orvo_app)
elseif(WIN32)
  set(tree windows)
else()
  set(tree native)
endif()
add_test(NAME layering COMMAND ${ORVO_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/layering_check.py
                               ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${tree})
