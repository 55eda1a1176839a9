# Our own code builds without warnings, and any warning stops the build.
function(brennick_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  # GCC 12 reports a false overlap in std::string's own copy for
  # `"text" + std::string` once it is inlined at -O2 and above (GCC bug
  # 105329); it is not about our code, and working round it line by line
  # only hides the same warning elsewhere.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-restrict)
  endif()
endfunction()
