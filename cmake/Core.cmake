# The portable core: every .cpp directly in a folder of src/. These files never
# include <windows.h>; they build for the host and for Windows alike.
file(GLOB BRENNICK_CORE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/*.cpp)
add_library(brennick_core STATIC ${BRENNICK_CORE_SOURCES})
target_include_directories(brennick_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
brennick_warnings(brennick_core)

# The decoder and the checksum run over tens of megabytes at every install:
# they get the full optimisation level in every build.
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/package/packed_block.cpp
                            ${PROJECT_SOURCE_DIR}/src/package/package_checksum.cpp
                            PROPERTIES COMPILE_OPTIONS -O3)
