# Strict warnings for the project's own targets only; third-party headers come in as
# system includes and are not held to them.
function(kalvet_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  endif()
endfunction()
