# Cross toolchain for the i686 Windows build (MinGW-w64, posix threads).
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
