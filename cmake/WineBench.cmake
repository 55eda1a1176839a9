# The Windows tree as an external project, the Wine prefixes and the tests
# that run under Wine (labels "win" and "e2e").
include(ExternalProject)

# Two builds of the Windows tree: the 32-bit program (the main deliverable)
# and the same program for 64-bit Windows, each with its tests and tools.
set(BRENNICK_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
set(BRENNICK_WINDOWS64_DIR ${CMAKE_BINARY_DIR}/windows64)
foreach(flavour i686 x86_64)
  if(flavour STREQUAL "i686")
    set(tree windows_tree)
    set(folder ${BRENNICK_WINDOWS_DIR})
  else()
    set(tree windows64_tree)
    set(folder ${BRENNICK_WINDOWS64_DIR})
  endif()
  ExternalProject_Add(${tree}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${folder}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-${flavour}.cmake
      -DCMAKE_BUILD_TYPE=Release
      -G ${CMAKE_GENERATOR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
endforeach()
# One cross build at a time: each one uses every core.
add_dependencies(windows64_tree windows_tree)

find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)
set(BRENNICK_HARNESS ${PROJECT_SOURCE_DIR}/tests/harness)
set(BRENNICK_WINE_DIR ${CMAKE_BINARY_DIR}/wine)

# What this machine runs: whether it executes 32-bit x86 code (and so
# 32-bit Windows programs under Wine), asked again at every configure.
# BRENNICK_NO_32BIT=1 in the environment forces the answer "no".
set(BRENNICK_MACHINE_FACTS ${BRENNICK_WINE_DIR}/machine.json)
file(MAKE_DIRECTORY ${BRENNICK_WINE_DIR})
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/machine.py probe ${BRENNICK_MACHINE_FACTS}
  OUTPUT_VARIABLE BRENNICK_MACHINE OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Wine tests: ${BRENNICK_MACHINE}")
file(READ ${BRENNICK_MACHINE_FACTS} BRENNICK_MACHINE_JSON)
string(JSON BRENNICK_X86_32 GET ${BRENNICK_MACHINE_JSON} x86_32)

# Template prefixes, booted once per build tree; every test runs in a copy.
# Without 32-bit execution there is no 32-bit prefix, and the 64-bit one is
# booted through Wine's 64-bit loader.
set(BRENNICK_PREFIX_ARCHS win64)
if(BRENNICK_X86_32)
  list(PREPEND BRENNICK_PREFIX_ARCHS win32)
endif()
foreach(arch ${BRENNICK_PREFIX_ARCHS})
  add_custom_command(
    OUTPUT ${BRENNICK_WINE_DIR}/${arch}.ready
    COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/make_prefix.py ${BRENNICK_WINE_DIR} ${arch}
    DEPENDS ${BRENNICK_HARNESS}/make_prefix.py ${BRENNICK_HARNESS}/wine_env.py ${BRENNICK_MACHINE_FACTS}
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
  BRENNICK_WINDOWS64_DIR=${BRENNICK_WINDOWS64_DIR}
  BRENNICK_WINE_DIR=${BRENNICK_WINE_DIR}
  PYTHONPATH=${BRENNICK_HARNESS}
  PYTHONDONTWRITEBYTECODE=1)

# One X server for the whole run.
add_test(NAME xvfb_start COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/xvfb.py start)
add_test(NAME xvfb_stop COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/xvfb.py stop)
set_tests_properties(xvfb_start PROPERTIES FIXTURES_SETUP xvfb ENVIRONMENT "${BRENNICK_TEST_ENV}" LABELS "win;e2e")
set_tests_properties(xvfb_stop PROPERTIES FIXTURES_CLEANUP xvfb ENVIRONMENT "${BRENNICK_TEST_ENV}" LABELS "win;e2e")

# A test that needs what this machine cannot run ends with 77 and says why:
# ctest shows it as skipped, never as passed, and the test command's closing
# paragraph (tests/harness/skip_report.py) names it.

# The Windows GoogleTest binary, in a fresh copy of each prefix: the 32-bit
# build in both, the 64-bit build in the 64-bit one.
foreach(run win_tests_win32 win_tests_win64 win_tests64_win64)
  if(run STREQUAL "win_tests64_win64")
    set(folder ${BRENNICK_WINDOWS64_DIR})
    set(flavour x64)
  else()
    set(folder ${BRENNICK_WINDOWS_DIR})
    set(flavour x86)
  endif()
  string(REGEX MATCH "win(32|64)$" arch ${run})
  add_test(NAME ${run}
    COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/run_win_tests.py ${arch} ${folder}/brennick_win_tests.exe)
  set_tests_properties(${run} PROPERTIES
    LABELS win FIXTURES_REQUIRED xvfb ENVIRONMENT "${BRENNICK_TEST_ENV};BRENNICK_FLAVOUR=${flavour}"
    TIMEOUT 600 SKIP_RETURN_CODE 77)
endforeach()

# End-to-end tests: every tests/e2e/test_*.py is one ctest test, run with the
# 32-bit program where this machine executes 32-bit code and with the program
# for 64-bit Windows where it does not. Where both run, the 64-bit program
# also runs a smoke set (e2e64_*).
file(GLOB BRENNICK_E2E_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/test_*.py)
set(BRENNICK_E2E64_SMOKE test_startup test_setup_package test_uninstall_run)
foreach(script ${BRENNICK_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  set(runs e2e_${name})
  if(BRENNICK_X86_32 AND name IN_LIST BRENNICK_E2E64_SMOKE)
    list(APPEND runs e2e64_${name})
  endif()
  foreach(run ${runs})
    set(env ${BRENNICK_TEST_ENV})
    if(run MATCHES "^e2e64_")
      list(APPEND env BRENNICK_FLAVOUR=x64)
    endif()
    add_test(NAME ${run}
      COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/run_e2e.py ${name}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests/e2e)
    set_tests_properties(${run} PROPERTIES
      LABELS e2e FIXTURES_REQUIRED xvfb ENVIRONMENT "${env}" TIMEOUT 900 SKIP_RETURN_CODE 77)
  endforeach()
endforeach()

# The two programs change 64-bit Windows alike: the same products installed
# and removed by each in a fresh 64-bit prefix. It needs 32-bit execution and
# is not part of the default run (test preset "equivalence", or
# scripts/test.sh --both-flavours) until it has passed on such a machine.
add_test(NAME e2e_flavour_equivalence
  COMMAND ${Python3_EXECUTABLE} ${BRENNICK_HARNESS}/run_e2e.py flavour_equivalence
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests/e2e)
set_tests_properties(e2e_flavour_equivalence PROPERTIES
  LABELS "e2e;equivalence" FIXTURES_REQUIRED xvfb ENVIRONMENT "${BRENNICK_TEST_ENV}" TIMEOUT 900
  SKIP_RETURN_CODE 77)

# The harness itself, on the path of a machine without 32-bit execution
# (forced, so that it is tried on every machine).
add_test(NAME harness_tests
  COMMAND ${Python3_EXECUTABLE} -m unittest -v test_harness
  WORKING_DIRECTORY ${BRENNICK_HARNESS})
set_tests_properties(harness_tests PROPERTIES
  LABELS harness ENVIRONMENT "${BRENNICK_TEST_ENV}" TIMEOUT 900)
