# The two ways a test program is registered with ctest, for tests/,
# reliability/ and bench/ alike. Included from the top level, so that
# GoogleTest's discovery script and the locale table below are seen in every
# directory that registers tests (a directory that did not see them got
# discovery lists that grew on each run, and an empty LC_ALL).
include(GoogleTest)

# korvane_gtest(<name> SOURCES <files...> [LIBS <libs...>] [LIVE] [LANGS <de|en|...>...])
# LIVE: the program drives the real pointer, screen or sound (label e2e).
# LANGS: the program is registered once per system language, as korvane_e2e
# does below.
function(korvane_gtest name)
  cmake_parse_arguments(A "LIVE" "" "SOURCES;LIBS;LANGS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_main ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  if(A_LIVE)
    set(label e2e)
  else()
    set(label unit)
  endif()
  if(NOT A_LANGS)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 120 LABELS ${label})
  endif()
  foreach(lang IN LISTS A_LANGS)
    gtest_discover_tests(${name} TEST_PREFIX "${lang}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "LC_ALL=${KORVANE_LOCALE_${lang}}" TIMEOUT 120 LABELS ${label})
  endforeach()
endfunction()

# korvane_e2e(<name> SOURCES <files...> LANGS <de|en|fr|it|es|...>... [LIBS ...])
# End-to-end tests against the real launcher of this build. The program is
# registered once per system language: Wine takes the system language of a
# process from LC_ALL, and the launcher inherits it from the test program
# that starts it. Test names get the language as prefix, e.g.
# "de.Window.TitleInSystemLanguage".
set(KORVANE_LOCALE_de de_DE.UTF-8)
set(KORVANE_LOCALE_en en_US.UTF-8)
set(KORVANE_LOCALE_fr fr_FR.UTF-8)
set(KORVANE_LOCALE_it it_IT.UTF-8)
set(KORVANE_LOCALE_es es_ES_tradnl)   # Spanish, traditional sort: 1034
set(KORVANE_LOCALE_esmod es_ES.UTF-8) # Spanish, modern sort: 3082, gets English
set(KORVANE_LOCALE_at de_AT.UTF-8)    # German, Austria: 3079, gets English
set(KORVANE_LOCALE_c C.UTF-8)         # the only locale that opens non-ASCII Unix names (English)
function(korvane_e2e name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LANGS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_main korvane_harness ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  add_dependencies(${name} Korvane6Menu stub_setup)
  foreach(lang IN LISTS A_LANGS)
    if(NOT DEFINED KORVANE_LOCALE_${lang})
      message(FATAL_ERROR "korvane_e2e(${name}): no locale for the language \"${lang}\"")
    endif()
    gtest_discover_tests(${name} TEST_PREFIX "${lang}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "LC_ALL=${KORVANE_LOCALE_${lang}}" TIMEOUT 180 RUN_SERIAL TRUE
                                    LABELS e2e)
  endforeach()
endfunction()
