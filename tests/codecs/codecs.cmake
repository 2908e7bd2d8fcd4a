# orvo-picture-digest (picture_digest.cpp): the pictures' pixels as this
# build's giflib and libjpeg decode them. The native build makes it for the
# web and Windows builds to compare with (scripts/native-tools.sh; compiled
# with the rest when the tests are); their test codecs.same_pixels runs
# theirs, in Node or under Wine, on the game's pictures, the fuzzing seeds
# and pictures/ (JPEGs with the chroma layouts 4:2:2 and 4:4:0 at odd sizes,
# which the others lack, one with damaged scan data, which decodes to
# garbage, and one cut off, which is refused), and wants the same output as
# the native one on Debian's libraries.
if(NOT TARGET GIF::GIF OR NOT TARGET JPEG::JPEG)
  return()
endif()
if(NOT CMAKE_CROSSCOMPILING)
  set(all EXCLUDE_FROM_ALL)
  if(ORVO_BUILD_TESTS)
    set(all "")
  endif()
  add_executable(orvo-picture-digest ${all} ${CMAKE_CURRENT_LIST_DIR}/picture_digest.cpp)
  target_link_libraries(orvo-picture-digest PRIVATE GIF::GIF JPEG::JPEG)
  return()
endif()
if(NOT ORVO_BUILD_TESTS)
  return()
endif()
set(ORVO_PICTURE_DIGEST "" CACHE FILEPATH
  "orvo-picture-digest of a native build, for codecs.same_pixels to compare with")
if(NOT ORVO_PICTURE_DIGEST)
  message(WARNING "No codecs.same_pixels test: it needs ORVO_PICTURE_DIGEST, a native "
                  "orvo-picture-digest (scripts/web.sh --tests and scripts/windows.sh --tests "
                  "give it)")
  return()
endif()
add_executable(orvo-picture-digest ${CMAKE_CURRENT_LIST_DIR}/picture_digest.cpp)
target_link_libraries(orvo-picture-digest PRIVATE GIF::GIF JPEG::JPEG)
if(EMSCRIPTEN)
  # A program for Node that reads the host's files, its WebAssembly inside.
  target_link_options(orvo-picture-digest PRIVATE -sENVIRONMENT=node -sNODERAWFS=1
    -sSINGLE_FILE=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
  find_program(ORVO_NODE NAMES node nodejs REQUIRED)
  set(run ${ORVO_NODE})
else()
  set(run sh ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${ORVO_WINEPREFIX})
endif()
file(GLOB pictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Graphics/* ${CMAKE_SOURCE_DIR}/assets/*.jpg
     ${CMAKE_SOURCE_DIR}/fuzz/corpus/pictures/* ${CMAKE_CURRENT_LIST_DIR}/pictures/*)
add_test(NAME codecs.same_pixels
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/same_pixels.sh ${ORVO_PICTURE_DIGEST} ${pictures}
          -- ${run} $<TARGET_FILE:orvo-picture-digest>)
set_tests_properties(codecs.same_pixels PROPERTIES TIMEOUT 600)
