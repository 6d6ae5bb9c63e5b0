# What the two cross toolchains share; each sets PLINDAR_MINGW (the compilers' prefix) and
# PLINDAR_ARCH (32 or 64) and includes this. mingw-w64 with the Win32 thread model: the program
# runs on one thread and starts none, and the POSIX model would link its thread library into
# both shipped files (32 KB each, and imports of the thread-control calls that heuristic virus
# scanners hold against a small tool that ends processes). GCC 12's library of this model has
# no std::mutex or std::thread: the tests, built by the same compiler, use Windows' own threads,
# and GoogleTest is built single-threaded (tests/CMakeLists.txt). libstdc++ and libgcc are
# linked statically, so the shipped files need nothing but Windows itself.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${PLINDAR_MINGW}-gcc-win32)
set(CMAKE_CXX_COMPILER ${PLINDAR_MINGW}-g++-win32)
set(CMAKE_RC_COMPILER ${PLINDAR_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLINDAR_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages too: the build machine's own GoogleTest is no use to a Windows program. One built for
# this compiler elsewhere is named with -DGTest_DIR=.../lib/cmake/GTest.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the cross-built tests through Wine, where there is one, with the loader that runs
# programs of this build's architecture on this machine (scripts/wine chooses it); a build of
# the program alone needs none.
find_program(PLINDAR_WINE NAMES wine wine64)
find_program(PLINDAR_BASH_FOR_WINE bash)
if(PLINDAR_WINE AND PLINDAR_BASH_FOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${PLINDAR_BASH_FOR_WINE} ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine ${PLINDAR_ARCH})
endif()
