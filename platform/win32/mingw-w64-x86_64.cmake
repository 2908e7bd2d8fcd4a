# Cross-builds Orvo for 64-bit Windows on Debian with mingw-w64 (the posix
# threads variant, which has std::thread and friends), into one static
# program that needs nothing but Windows itself.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=platform/win32/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVO_MINGW_TRIPLE}-windres)
# Headers and libraries come from the mingw-w64 tree only, programs from the
# host.
set(CMAKE_FIND_ROOT_PATH /usr/${ORVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The C++ and GCC runtimes and winpthreads linked in: no DLL beside the
# program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
