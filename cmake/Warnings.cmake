# Every target of the project calls vantrelo_warnings() on itself, so the
# warning set cannot silently miss one.
function(vantrelo_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
      -Wconversion -Wsign-conversion -Wformat=2 -Werror)
  endif()
endfunction()
