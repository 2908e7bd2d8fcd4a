# The picture libraries, giflib and libjpeg-turbo, as the imported targets
# GIF::GIF and JPEG::JPEG. A native Linux build takes Debian's (libgif-dev,
# libjpeg62-turbo-dev) through find_package. The web and Windows builds take
# static libraries built from Debian's source packages of the same versions
# (scripts/codecs.sh, which scripts/web.sh and scripts/windows.sh run) from
# the folder ORVO_CODECS_PREFIX names.
set(ORVO_CODECS_PREFIX "" CACHE PATH
  "Folder of giflib and libjpeg-turbo built by scripts/codecs.sh (include/, lib/)")
if(ORVO_CODECS_PREFIX)
  # What the script installs: giflib's header, libjpeg's four, the libraries.
  foreach(file include/gif_lib.h include/jpeglib.h include/jconfig.h include/jmorecfg.h
          include/jerror.h lib/libgif.a lib/libjpeg.a)
    if(NOT EXISTS ${ORVO_CODECS_PREFIX}/${file})
      message(FATAL_ERROR "ORVO_CODECS_PREFIX=${ORVO_CODECS_PREFIX} has no ${file}: "
                          "scripts/codecs.sh web|windows BUILD_DIR builds it")
    endif()
  endforeach()
  add_library(GIF::GIF STATIC IMPORTED GLOBAL)
  set_target_properties(GIF::GIF PROPERTIES IMPORTED_LOCATION ${ORVO_CODECS_PREFIX}/lib/libgif.a
    INTERFACE_INCLUDE_DIRECTORIES ${ORVO_CODECS_PREFIX}/include)
  add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
  set_target_properties(JPEG::JPEG PROPERTIES IMPORTED_LOCATION ${ORVO_CODECS_PREFIX}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${ORVO_CODECS_PREFIX}/include)
  # The versions scripts/codecs.sh built, for the record.
  set(ORVO_CODECS_BUILT "")
  if(EXISTS ${ORVO_CODECS_PREFIX}/codecs.stamp)
    file(STRINGS ${ORVO_CODECS_PREFIX}/codecs.stamp ORVO_CODECS_BUILT
         REGEX "^(giflib|libjpeg-turbo) ")
    list(JOIN ORVO_CODECS_BUILT ", " ORVO_CODECS_BUILT)
  endif()
  message(STATUS "Picture libraries from ${ORVO_CODECS_PREFIX}: ${ORVO_CODECS_BUILT}")
elseif(NOT WIN32 AND NOT EMSCRIPTEN)
  find_package(GIF REQUIRED)
  find_package(JPEG REQUIRED)
endif()
