# Cross toolchain for the x86_64 Windows build (MinGW-w64, posix threads).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
