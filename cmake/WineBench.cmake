# The Windows tree as an external project, the Wine prefixes and the tests
# that run under Wine (labels "win" and "e2e").
include(ExternalProject)

set(BRENNICK_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(windows_tree
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${BRENNICK_WINDOWS_DIR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=Release
    -G ${CMAKE_GENERATOR}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)
set(BRENNICK_HARNESS ${PROJECT_SOURCE_DIR}/tests/harness)
set(BRENNICK_WINE_DIR ${CMAKE_BINARY_DIR}/wine)

# Template prefixes, booted once per build tree; every test runs in a copy.
foreach(arch win32 win64)
  add_custom_command(
    OUTPUT ${BRENNICK_WINE_DIR}/${arch}.ready
    COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/make_prefix.py ${BRENNICK_WINE_DIR} ${arch}
    DEPENDS ${BRENNICK_HARNESS}/make_prefix.py ${BRENNICK_HARNESS}/wine_env.py
    COMMENT "Booting the ${arch} Wine template prefix"
    VERBATIM)
  list(APPEND BRENNICK_PREFIX_STAMPS ${BRENNICK_WINE_DIR}/${arch}.ready)
endforeach()
add_custom_target(wine_prefixes ALL DEPENDS ${BRENNICK_PREFIX_STAMPS})

# What every Wine-run test needs to find its way.
set(BRENNICK_TEST_ENV
  BRENNICK_SOURCE_DIR=${PROJECT_SOURCE_DIR}
  BRENNICK_BUILD_DIR=${CMAKE_BINARY_DIR}
  BRENNICK_WINDOWS_DIR=${BRENNICK_WINDOWS_DIR}
  BRENNICK_WINE_DIR=${BRENNICK_WINE_DIR}
  PYTHONPATH=${BRENNICK_HARNESS}
  PYTHONDONTWRITEBYTECODE=1)

# One X server for the whole run.
add_test(NAME xvfb_start COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/xvfb.py start)
add_test(NAME xvfb_stop COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/xvfb.py stop)
set_tests_properties(xvfb_start PROPERTIES FIXTURES_SETUP xvfb ENVIRONMENT "${BRENNICK_TEST_ENV}" LABELS "win;e2e")
set_tests_properties(xvfb_stop PROPERTIES FIXTURES_CLEANUP xvfb ENVIRONMENT "${BRENNICK_TEST_ENV}" LABELS "win;e2e")

# The Windows GoogleTest binary, in a fresh copy of each prefix.
foreach(arch win32 win64)
  add_test(NAME win_tests_${arch}
    COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/run_win_tests.py ${arch}
            ${BRENNICK_WINDOWS_DIR}/brennick_win_tests.exe)
  set_tests_properties(win_tests_${arch} PROPERTIES
    LABELS win FIXTURES_REQUIRED xvfb ENVIRONMENT "${BRENNICK_TEST_ENV}" TIMEOUT 600)
endforeach()

# End-to-end tests: every tests/e2e/test_*.py is one ctest test.
file(GLOB BRENNICK_E2E_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(script ${BRENNICK_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name}
    COMMAND ${Python3_EXECUTABLE} -m unittest -v ${name}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests/e2e)
  set_tests_properties(e2e_${name} PROPERTIES
    LABELS e2e FIXTURES_REQUIRED xvfb ENVIRONMENT "${BRENNICK_TEST_ENV}" TIMEOUT 900)
endforeach()
