# Cross toolchain for the program for 64-bit Windows.
set(BRENNICK_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
