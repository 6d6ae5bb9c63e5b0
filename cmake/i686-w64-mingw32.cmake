# Cross toolchain for the 32-bit Windows build: mingw-w64 with the POSIX thread model. The
# program starts no thread, and the Win32 model would spare each shipped file the 32 KB of
# winpthread; but GCC 12's Win32-model library has no std::mutex or std::thread, which
# GoogleTest and the tests need, and one compiler builds both. libstdc++, libgcc and
# winpthread are linked statically, so the shipped files need nothing but Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages too: the build machine's own GoogleTest is no use to a Windows program. One built for
# this compiler elsewhere is named with -DGTest_DIR=.../lib/cmake/GTest.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the cross-built tests through Wine, where there is one; a build of the program
# alone needs none.
find_program(PLINDAR_WINE wine)
if(PLINDAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PLINDAR_WINE})
endif()
