# SPDX-License-Identifier: GPL-3.0-or-later
include(GoogleTest)

# scrollwise_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l1] [SCREEN 1366x768]
#                     [TIMEOUT seconds, default 300])
# One GoogleTest executable linked against the support library; every TEST
# becomes its own ctest entry so failures name the case. SCREEN gives the offscreen
# screen that size (tests/support/testmain.cpp); without it the platform's own.
function(scrollwise_add_test name)
  cmake_parse_arguments(ARG "" "SCREEN;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE scrollwise_test_support ${ARG_LIBS} scrollwise_options)
  # Tests that run the command-line tool as a user would find it here.
  target_compile_definitions(${name} PRIVATE SCROLLWISE_BATCH_PATH="$<TARGET_FILE:scrollwise-batch>"
    SCROLLWISE_GUI_PATH="$<TARGET_FILE:scrollwise>")
  add_dependencies(${name} scrollwise-batch scrollwise)
  # The discovered tests take their properties as one flat list, in which a value that is
  # itself a list, or an empty one, shifts every property after it: each property here has
  # one value. (The font configuration of tests/fonts is set by the tests' main,
  # tests/support/testmain.cpp.)
  if(ARG_SCREEN)
    set(properties ENVIRONMENT "SCROLLWISE_TEST_SCREEN=${ARG_SCREEN}")
  else()
    set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  list(APPEND properties TIMEOUT ${ARG_TIMEOUT})
  if(ARG_LABELS)
    list(APPEND properties LABELS ${ARG_LABELS})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()
