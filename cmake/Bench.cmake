# Benchmarks of the package codec and checksum against zlib and memcpy, on a
# corpus made from files of installed packages. Built without sanitizers
# only (the "bench" preset); run by hand, not by ctest. See bench/README.md.
if(NOT BRENNICK_SANITIZE)
  find_package(benchmark QUIET)
  find_package(ZLIB QUIET)
  if(benchmark_FOUND AND ZLIB_FOUND)
    file(GLOB BRENNICK_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
    add_executable(brennick_bench ${BRENNICK_BENCH_SOURCES})
    target_link_libraries(brennick_bench PRIVATE brennick_builder benchmark::benchmark ZLIB::ZLIB)
    brennick_warnings(brennick_bench)
  else()
    message(STATUS "Benchmarks skipped: libbenchmark-dev and zlib1g-dev are needed")
  endif()
endif()
