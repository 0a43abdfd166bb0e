# Every target of the project calls vantrelo_warnings() on itself, so the
# warning set cannot silently miss one.
#
# Warnings are errors only on request: the project's own checks turn
# VANTRELO_WERROR on, while a user's or a distribution's build must not break
# on a warning that a newer compiler adds.
option(VANTRELO_WERROR "Treat compiler warnings as errors" OFF)

function(vantrelo_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
    if(VANTRELO_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    # C++ only: a Windows program's resource script goes through windres.
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic
      -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
      -Wconversion -Wsign-conversion -Wformat=2>)
    if(VANTRELO_WERROR)
      target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Werror>)
    endif()
  endif()
endfunction()
