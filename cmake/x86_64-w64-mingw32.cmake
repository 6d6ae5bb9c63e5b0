# Cross toolchain for the 64-bit build of the same sources: never shipped, it proves the
# program's behaviour on machines that cannot run 32-bit code, and keeps the sources 64-bit
# clean.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PLINDAR_MINGW x86_64-w64-mingw32)
set(PLINDAR_ARCH 64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
