# The Windows tree: the program, the Windows edge, the Windows tests and the
# test tools. Built by the host tree as an external project (or on its own
# with the "windows" preset).
include(cmake/Core.cmake)

add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)

# The Windows edge: every .cpp in a win/ folder of src/, but the entry point.
file(GLOB BRENNICK_EDGE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/win/*.cpp)
list(FILTER BRENNICK_EDGE_SOURCES EXCLUDE REGEX "/app/win/main\\.cpp$")
add_library(brennick_edge STATIC ${BRENNICK_EDGE_SOURCES})
target_link_libraries(brennick_edge PUBLIC brennick_core ole32 user32 gdi32 advapi32 shell32 uuid)
brennick_warnings(brennick_edge)

# The program's pictures, drawn by a script at build time; the resource script
# finds them through its include path.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(BRENNICK_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(BRENNICK_ARTWORK side_picture.bmp banner.bmp accept.bmp cancel.bmp browse.bmp retry.bmp)
list(TRANSFORM BRENNICK_ARTWORK PREPEND ${BRENNICK_ARTWORK_DIR}/)
add_custom_command(OUTPUT ${BRENNICK_ARTWORK}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/make_artwork.py ${BRENNICK_ARTWORK_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make_artwork.py
  COMMENT "Drawing the program's pictures"
  VERBATIM)

add_executable(brennick WIN32 ${PROJECT_SOURCE_DIR}/src/app/win/main.cpp ${PROJECT_SOURCE_DIR}/src/res/brennick.rc
                               ${BRENNICK_ARTWORK})
target_link_libraries(brennick PRIVATE brennick_edge)
target_include_directories(brennick PRIVATE $<$<COMPILE_LANGUAGE:RC>:${BRENNICK_ARTWORK_DIR}>)
# windres reports no dependencies: the resource script is rebuilt when any
# file it takes in changes.
file(GLOB BRENNICK_RESOURCE_INPUTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/res/*)
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/res/brennick.rc PROPERTIES
                            OBJECT_DEPENDS "${BRENNICK_RESOURCE_INPUTS};${BRENNICK_ARTWORK}")
target_link_options(brennick PRIVATE -mwindows -s)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # The program for 64-bit Windows.
  set_target_properties(brennick PROPERTIES OUTPUT_NAME brennick64)
endif()
brennick_warnings(brennick)

# GoogleTest from Debian's sources, built with mingw for the Windows tests.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB BRENNICK_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*.cpp)
add_executable(brennick_win_tests ${BRENNICK_WIN_TEST_SOURCES})
target_link_libraries(brennick_win_tests PRIVATE brennick_edge GTest::gtest)
brennick_warnings(brennick_win_tests)

# Test tools: the exact-command-line launcher, the UI driver, and a DLL that
# reports being loaded (planted beside the program by the DLL-search test).
add_executable(launch ${PROJECT_SOURCE_DIR}/tests/tools/launch.cpp)
target_link_libraries(launch PRIVATE shell32)
brennick_warnings(launch)

add_executable(uidriver ${PROJECT_SOURCE_DIR}/tests/tools/uidriver.cpp)
target_link_libraries(uidriver PRIVATE user32 shell32)
brennick_warnings(uidriver)

add_library(planted SHARED ${PROJECT_SOURCE_DIR}/tests/tools/planted.cpp)
set_target_properties(planted PROPERTIES PREFIX "")
brennick_warnings(planted)

add_executable(loadlib ${PROJECT_SOURCE_DIR}/tests/tools/loadlib.cpp)
brennick_warnings(loadlib)

# A program that holds a file open, and a DLL with a version resource, for
# the file installation tests.
add_executable(holdfile ${PROJECT_SOURCE_DIR}/tests/tools/holdfile.cpp)
brennick_warnings(holdfile)

add_library(version200 SHARED ${PROJECT_SOURCE_DIR}/tests/tools/version_resource.cpp
                              ${PROJECT_SOURCE_DIR}/tests/tools/version200.rc)
set_target_properties(version200 PROPERTIES PREFIX "")
brennick_warnings(version200)
