# The window program: the SDL2 host, the pictures built into it, the `orvo`
# executable beside the copied Graphics/ folder, and the install rules.
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(Fontconfig REQUIRED)

# The window's background and icon become byte arrays in the program.
set(ORVO_ASSETS ${CMAKE_SOURCE_DIR}/assets)
set(ORVO_EMBED_DIR ${CMAKE_CURRENT_BINARY_DIR}/embedded)
set(ORVO_EMBEDDED_SOURCES)
foreach(pair "window_back.jpg:kWindowBack" "icon-32.png:kIcon")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 name)
  set(output ${ORVO_EMBED_DIR}/${name}.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${ORVO_ASSETS}/${file} -DOUTPUT=${output} -DNAME=${name}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/sdl_embed.cmake
    DEPENDS ${ORVO_ASSETS}/${file} ${CMAKE_CURRENT_SOURCE_DIR}/sdl_embed.cmake
    COMMENT "Embedding ${file}" VERBATIM)
  list(APPEND ORVO_EMBEDDED_SOURCES ${output})
endforeach()

# Everything of the window but main(), so that tests can drive it.
set(ORVO_SDL_LIBRARY_SOURCES ${ORVO_SDL_SOURCES})
list(FILTER ORVO_SDL_LIBRARY_SOURCES EXCLUDE REGEX "/sdl_main\\.cpp$")
add_library(orvo_sdl STATIC ${ORVO_SDL_LIBRARY_SOURCES} ${ORVO_EMBEDDED_SOURCES})
target_include_directories(orvo_sdl PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(orvo_sdl PUBLIC orvo_app SDL2::SDL2 SDL2_image::SDL2_image
  SDL2_ttf::SDL2_ttf Fontconfig::Fontconfig)

add_executable(orvo ${CMAKE_CURRENT_SOURCE_DIR}/sdl_main.cpp)
target_link_libraries(orvo PRIVATE orvo_sdl)
# The program finds its pictures beside itself: build it next to Graphics/.
set_target_properties(orvo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Installed as <prefix>/lib/orvo/orvo with Graphics/ beside it, a launcher
# link in bin/, a desktop entry and the icons.
include(GNUInstallDirs)
set(ORVO_INSTALL_DIR lib/orvo)
install(TARGETS orvo RUNTIME DESTINATION ${ORVO_INSTALL_DIR})
install(DIRECTORY ${ORVO_GRAPHICS_SOURCE}/ DESTINATION ${ORVO_INSTALL_DIR}/Graphics)
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(REMOVE \"\${bin}/orvo\")
  file(CREATE_LINK ../${ORVO_INSTALL_DIR}/orvo \"\${bin}/orvo\" SYMBOLIC)
  message(STATUS \"Installing: \${bin}/orvo -> ../${ORVO_INSTALL_DIR}/orvo\")
")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvo.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 256)
  install(FILES ${ORVO_ASSETS}/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME orvo.png)
endforeach()

# The replay runner goes beside the game when it is built; its folder is
# read after this one, so the rule is added once every folder is known.
function(orvo_install_replay)
  if(TARGET orvo-replay)
    install(TARGETS orvo-replay RUNTIME DESTINATION lib/orvo OPTIONAL)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL orvo_install_replay)
