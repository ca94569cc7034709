# The ways a test program is registered with ctest, for tests/,
# reliability/ and bench/ alike. Included from the top level, so that the
# locale table below is seen in every directory that registers tests.

# korvane_gtest(<name> SOURCES <files...> [LIBS <libs...>] [LIVE] [LANGS <de|en|...>...])
# A unit program is one ctest test that runs all its cases in one process: a
# process for each case buys nothing there and costs a start of Wine for each
# (more than a second under an emulator). scripts/test.sh prints its cases
# and lists those that failed.
# LIVE: the program drives the real pointer, screen or sound (label e2e), and
# runs whole as korvane_e2e's do, with a retry of its cases that fail.
# LANGS: the program is registered once per system language, as korvane_e2e
# does below, with the language as prefix ("de.launcher_test").
function(korvane_gtest name)
  cmake_parse_arguments(A "LIVE" "" "SOURCES;LIBS;LANGS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_main ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  if(A_LIVE)
    korvane_add_retried_test(${name} ${name})
  elseif(NOT A_LANGS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 180 LABELS unit)
  endif()
  foreach(lang IN LISTS A_LANGS)
    add_test(NAME ${lang}.${name} COMMAND ${name})
    set_tests_properties(${lang}.${name} PROPERTIES ENVIRONMENT "LC_ALL=${KORVANE_LOCALE_${lang}}" TIMEOUT 180
                                                    LABELS unit)
  endforeach()
endfunction()

# korvane_add_retried_test(<test name> <program> [gtest arguments...])
# The program as one ctest test (label e2e) that scripts/gtest-retry.sh runs
# whole, with one retry of the cases that did not pass.
function(korvane_add_retried_test test program)
  add_test(NAME ${test} COMMAND ${CMAKE_SOURCE_DIR}/scripts/gtest-retry.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                                $<TARGET_FILE:${program}> ${ARGN})
  set_tests_properties(${test} PROPERTIES TIMEOUT 900 LABELS e2e)
endfunction()

# korvane_e2e(<name> SOURCES <files...> LANGS <de|en|fr|it|es|...>... [LIBS ...])
# End-to-end tests against the real launcher of this build. The program is
# registered once per system language: Wine takes the system language of a
# process from LC_ALL, and the launcher inherits it from the test program
# that starts it. The ctest test is the program whole, named with the
# language as prefix ("de.window_languages_e2e"); its cases keep their
# names ("Window.TitleInSystemLanguage").
set(KORVANE_LOCALE_de de_DE.UTF-8)
set(KORVANE_LOCALE_en en_US.UTF-8)
set(KORVANE_LOCALE_fr fr_FR.UTF-8)
set(KORVANE_LOCALE_it it_IT.UTF-8)
set(KORVANE_LOCALE_es es_ES_tradnl)   # Spanish, traditional sort: 1034
set(KORVANE_LOCALE_esmod es_ES.UTF-8) # Spanish, modern sort: 3082, gets English
set(KORVANE_LOCALE_at de_AT.UTF-8)    # German, Austria: 3079, gets English
set(KORVANE_LOCALE_c C.UTF-8)         # the only locale that opens non-ASCII Unix names (English)
# ONCE <gtest filter>: the cases that do not depend on the language run under
# the first language alone.
function(korvane_e2e name)
  cmake_parse_arguments(A "" "ONCE" "SOURCES;LIBS;LANGS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_main korvane_harness ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  add_dependencies(${name} Korvane6Menu stub_setup)
  set(filter "")
  foreach(lang IN LISTS A_LANGS)
    if(NOT DEFINED KORVANE_LOCALE_${lang})
      message(FATAL_ERROR "korvane_e2e(${name}): no locale for the language \"${lang}\"")
    endif()
    korvane_add_retried_test(${lang}.${name} ${name} ${filter})
    set_tests_properties(${lang}.${name} PROPERTIES ENVIRONMENT "LC_ALL=${KORVANE_LOCALE_${lang}}")
    if(A_ONCE)
      set(filter "--gtest_filter=-${A_ONCE}")
    endif()
  endforeach()
endfunction()
