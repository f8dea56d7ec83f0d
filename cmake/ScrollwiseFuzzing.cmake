# SPDX-License-Identifier: GPL-3.0-or-later
# Instrumentation for the two hostile-input builds. Both go on scrollwise_options, so
# every Scrollwise library, program and test is built the same way.
#   SCROLLWISE_SANITIZE  address and undefined-behaviour checks for the whole build
#                        (scripts/test --sanitize); undefined behaviour stops the program.
#   SCROLLWISE_FUZZ      coverage for libFuzzer plus the same checks, clang only; adds the
#                        targets under fuzz/ (scripts/fuzz).
if(SCROLLWISE_SANITIZE OR SCROLLWISE_FUZZ)
  target_compile_options(scrollwise_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(scrollwise_options INTERFACE -fsanitize=address,undefined)
endif()

if(SCROLLWISE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "SCROLLWISE_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++ "
                        "-DCMAKE_C_COMPILER=clang); the compiler is ${CMAKE_CXX_COMPILER_ID}.")
  endif()
  target_compile_options(scrollwise_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
