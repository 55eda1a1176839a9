# libFuzzer targets for the packed block decoder, the archive reader and the
# encoder's round trip. The host tree is built with g++, so the targets are
# compiled by clang++-14 directly from the few sources they need; each gets a
# short smoke run under ctest (label "fuzz"). Longer runs: fuzz/README.md.
if(NOT BRENNICK_SANITIZE)
  return()
endif()
find_program(BRENNICK_FUZZ_CXX NAMES clang++-14)
file(GLOB BRENNICK_FUZZ_RUNTIME /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a)
if(NOT BRENNICK_FUZZ_CXX OR NOT BRENNICK_FUZZ_RUNTIME)
  message(STATUS "Fuzz targets skipped: clang-14 and libclang-rt-14-dev are needed")
  return()
endif()

set(BRENNICK_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)
set(BRENNICK_FUZZ_SECONDS 10 CACHE STRING "Length of each fuzz target's ctest run, in seconds")
set(BRENNICK_FUZZ_FLAGS
  -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
  -Wall -Wextra -Werror
  -I${PROJECT_SOURCE_DIR}/src -I${PROJECT_SOURCE_DIR} -I${PROJECT_SOURCE_DIR}/fuzz)
file(GLOB BRENNICK_FUZZ_HEADERS CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/package/*.h ${PROJECT_SOURCE_DIR}/src/foundation/*.h
  ${PROJECT_SOURCE_DIR}/builder/*/*.h ${PROJECT_SOURCE_DIR}/fuzz/*.h)

# Seeds made by the builder, so that every run starts from well-formed input.
add_executable(make_seeds ${PROJECT_SOURCE_DIR}/fuzz/make_seeds.cpp)
target_link_libraries(make_seeds PRIVATE brennick_builder)
brennick_warnings(make_seeds)
add_custom_command(
  OUTPUT ${BRENNICK_FUZZ_DIR}/seeds.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${BRENNICK_FUZZ_DIR}/seeds
  COMMAND make_seeds ${BRENNICK_FUZZ_DIR}/seeds
  COMMAND ${CMAKE_COMMAND} -E touch ${BRENNICK_FUZZ_DIR}/seeds.stamp
  DEPENDS make_seeds
  COMMENT "Writing the fuzz seeds"
  VERBATIM)

set(BRENNICK_FUZZ_OUTPUTS ${BRENNICK_FUZZ_DIR}/seeds.stamp)

# brennick_fuzz_target(name source...): fuzz/<name>_fuzz.cpp with the given
# sources (relative to the project); CorruptInstaller comes from fuzz_corrupt.cpp.
function(brennick_fuzz_target name)
  set(binary ${BRENNICK_FUZZ_DIR}/${name}_fuzz)
  set(sources ${PROJECT_SOURCE_DIR}/fuzz/${name}_fuzz.cpp ${PROJECT_SOURCE_DIR}/fuzz/fuzz_corrupt.cpp)
  foreach(source ${ARGN})
    list(APPEND sources ${PROJECT_SOURCE_DIR}/${source})
  endforeach()
  add_custom_command(
    OUTPUT ${binary}
    COMMAND ${BRENNICK_FUZZ_CXX} ${BRENNICK_FUZZ_FLAGS} ${sources} -o ${binary}
    DEPENDS ${sources} ${BRENNICK_FUZZ_HEADERS}
    COMMENT "Building fuzz target ${name}_fuzz (clang-14, libFuzzer)"
    VERBATIM)
  set(BRENNICK_FUZZ_OUTPUTS ${BRENNICK_FUZZ_OUTPUTS} ${binary} PARENT_SCOPE)

  # New inputs go to work/<name>; findings to artifacts/.
  file(MAKE_DIRECTORY ${BRENNICK_FUZZ_DIR}/work/${name} ${BRENNICK_FUZZ_DIR}/artifacts)
  add_test(NAME fuzz_${name}
    COMMAND ${binary} -max_total_time=${BRENNICK_FUZZ_SECONDS} -max_len=8192 -rss_limit_mb=1024
            -artifact_prefix=${BRENNICK_FUZZ_DIR}/artifacts/${name}-
            ${BRENNICK_FUZZ_DIR}/work/${name} ${BRENNICK_FUZZ_DIR}/seeds/${name})
  set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT 120)
endfunction()

set(BRENNICK_DECODER_SOURCES src/package/packed_block.cpp)
set(BRENNICK_ENCODER_SOURCES
  builder/encode/packed_encoder.cpp builder/encode/packed_ops.cpp builder/encode/match_finder.cpp
  builder/encode/greedy_parse.cpp builder/encode/optimal_parse.cpp)

brennick_fuzz_target(packed_block ${BRENNICK_DECODER_SOURCES})
brennick_fuzz_target(archive_reader ${BRENNICK_DECODER_SOURCES}
  src/package/archive_reader.cpp src/package/record_queue.cpp src/package/package_checksum.cpp)
brennick_fuzz_target(packed_roundtrip ${BRENNICK_DECODER_SOURCES} ${BRENNICK_ENCODER_SOURCES})
brennick_fuzz_target(package_reader
  src/package/package_header.cpp src/package/package_cursor.cpp src/package/settings_reader.cpp
  src/package/line_breaks.cpp src/foundation/fatal.cpp builder/package/settings_writer.cpp)

add_custom_target(fuzz_targets ALL DEPENDS ${BRENNICK_FUZZ_OUTPUTS})
