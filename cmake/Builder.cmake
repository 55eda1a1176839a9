# The setup builder: a library (every .cpp of builder/ and its rooms but
# main.cpp and the test tools) that the unit tests use too, and the
# brennick-build command. Builder headers are named from the repository's
# root ("builder/encode/match_finder.h").
find_package(PkgConfig QUIET)
file(GLOB_RECURSE BRENNICK_BUILDER_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/builder/*.cpp)
list(FILTER BRENNICK_BUILDER_SOURCES EXCLUDE REGEX "/builder/(main|tools/.*)\\.cpp$")
add_library(brennick_builder STATIC ${BRENNICK_BUILDER_SOURCES})
target_include_directories(brennick_builder PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brennick_builder PUBLIC brennick_core)
brennick_warnings(brennick_builder)

if(EXISTS ${PROJECT_SOURCE_DIR}/builder/main.cpp)
  add_executable(brennick-build ${PROJECT_SOURCE_DIR}/builder/main.cpp)
  target_link_libraries(brennick-build PRIVATE brennick_builder)
  brennick_warnings(brennick-build)
endif()

# A test tool: a copy of a program with one more section (the Wine tests give
# the real program a package section with it).
add_executable(brennick-pe-append ${PROJECT_SOURCE_DIR}/builder/tools/append_section_main.cpp)
target_link_libraries(brennick-pe-append PRIVATE brennick_builder)
brennick_warnings(brennick-pe-append)
