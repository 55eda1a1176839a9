# The host tree: the portable core with its unit tests (sanitized), and the
# driver of the Windows tree and of the tests that run under Wine.
option(BRENNICK_SANITIZE "Build the host tree with AddressSanitizer and UBSan" ON)
option(BRENNICK_WINDOWS "Build the Windows tree and register the Wine tests" ON)

if(BRENNICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

include(cmake/Core.cmake)
include(cmake/Builder.cmake)
enable_testing()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB BRENNICK_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(brennick_unit_tests ${BRENNICK_UNIT_TEST_SOURCES})
target_link_libraries(brennick_unit_tests PRIVATE brennick_builder GTest::gtest_main GTest::gmock)
brennick_warnings(brennick_unit_tests)
gtest_discover_tests(brennick_unit_tests PROPERTIES LABELS unit)

# The layering rule of the rooms, over every include line, and the check's own test.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME include_check COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_includes.py)
add_test(NAME include_check_tests COMMAND ${Python3_EXECUTABLE} -m unittest -v test_check_includes
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/scripts)
# The program's own pictures are drawn by a script; its test reads them back.
add_test(NAME artwork_tests COMMAND ${Python3_EXECUTABLE} -m unittest -v test_make_artwork
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/scripts)
set_tests_properties(include_check include_check_tests artwork_tests PROPERTIES LABELS check)

# Damages one named part of a built setup program, for the end-to-end tests.
add_executable(brennick-damage ${PROJECT_SOURCE_DIR}/tests/tools/damage_setup.cpp)
target_link_libraries(brennick-damage PRIVATE brennick_builder)
brennick_warnings(brennick-damage)

# Benchmarks and fuzz targets have their own files; see bench/ and fuzz/.
foreach(part Bench Fuzz)
  if(EXISTS ${PROJECT_SOURCE_DIR}/cmake/${part}.cmake)
    include(cmake/${part}.cmake)
  endif()
endforeach()

if(BRENNICK_WINDOWS)
  include(cmake/WineBench.cmake)
endif()
