# Warnings are errors in our own code; third-party code (GoogleTest) keeps its own flags.
function(brennick_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
