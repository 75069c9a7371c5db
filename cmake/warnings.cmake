# One interface target carries the project's compiler settings, so every target
# of ours gets the same warnings, sanitizers and assertions.
add_library(veltrano_options INTERFACE)
target_compile_options(veltrano_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion-null)
if(VELTRANO_WERROR)
  target_compile_options(veltrano_options INTERFACE -Werror)
endif()
# Every table index is checked in debug builds.
target_compile_definitions(veltrano_options INTERFACE $<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)
if(VELTRANO_SANITIZE)
  target_compile_options(veltrano_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(veltrano_options INTERFACE -fsanitize=address,undefined)
endif()
if(VELTRANO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VELTRANO_FUZZ needs clang: configure a separate build directory "
      "with CC=clang CXX=clang++")
  endif()
  # Coverage for libFuzzer without its main(); the fuzz targets link the
  # fuzzer runtime themselves.
  target_compile_options(veltrano_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  target_link_options(veltrano_options INTERFACE -fsanitize=address,undefined)
endif()
