# -DVANTRELO_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; the test script runs the unit tests that way.
option(VANTRELO_SANITIZE "Build with ASan and UBSan" OFF)
if(VANTRELO_SANITIZE AND NOT MSVC)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
