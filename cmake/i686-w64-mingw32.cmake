# Cross toolchain for the 32-bit Windows build, the one that is shipped.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PLINDAR_MINGW i686-w64-mingw32)
set(PLINDAR_ARCH 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
