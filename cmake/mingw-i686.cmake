# Cross toolchain for the 32-bit Windows program.
set(BRENNICK_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
