# Windows test programs run by CTest under Wine (scripts/lib/wine.sh): a fixture boots a prefix
# of the build folder once and starts the wineserver the tests share; its cleanup stops that
# wineserver and whatever still runs in the prefix. Every Wine call has a time limit.
#
#   quarvel_wine_fixture(<name> [PREFIX <folder>] [DISPLAY <display>])
#       Tests <name>.boot (setup of fixture <name>) and <name>.stop (its cleanup). The prefix
#       defaults to wine-prefix in the build folder; DISPLAY is empty unless given (a GUI run
#       under Xvfb needs its own fixture, as the first Wine process fixes the desktop's display).
#
#   quarvel_add_wine_test(<name> FIXTURE <wine fixture> COMMAND <program> [arguments...]
#                         [TIMEOUT <seconds>] [SETUP <fixture>] [REQUIRES <fixtures...>]
#                         [RESOURCE_LOCK <locks...>] [LABELS <labels...>])
#       Runs <program> (a target or a path) under Wine in the fixture's prefix, killed after
#       TIMEOUT seconds (default 300). SETUP makes the test the setup of another fixture (such as
#       a registration); REQUIRES names further fixtures it needs.

set(QUARVEL_WINE_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/lib/wine.sh)

function(quarvel_wine_fixture name)
  cmake_parse_arguments(ARG "" "PREFIX;DISPLAY" "" ${ARGN})
  if(NOT ARG_PREFIX)
    set(ARG_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
  endif()
  set(environment "WINEPREFIX=${ARG_PREFIX}" "WINEDEBUG=-all" "DISPLAY=${ARG_DISPLAY}")
  set_property(GLOBAL PROPERTY QUARVEL_WINE_ENVIRONMENT_${name} "${environment}")
  add_test(NAME ${name}.boot COMMAND bash ${QUARVEL_WINE_SCRIPT} boot)
  set_tests_properties(${name}.boot PROPERTIES
    FIXTURES_SETUP ${name} ENVIRONMENT "${environment}" TIMEOUT 900 LABELS wine)
  add_test(NAME ${name}.stop COMMAND bash ${QUARVEL_WINE_SCRIPT} stop)
  set_tests_properties(${name}.stop PROPERTIES
    FIXTURES_CLEANUP ${name} ENVIRONMENT "${environment}" TIMEOUT 180 LABELS wine)
endfunction()

function(quarvel_add_wine_test name)
  cmake_parse_arguments(ARG "" "FIXTURE;TIMEOUT;SETUP" "COMMAND;REQUIRES;RESOURCE_LOCK;LABELS"
                        ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  get_property(environment GLOBAL PROPERTY QUARVEL_WINE_ENVIRONMENT_${ARG_FIXTURE})
  if(NOT environment)
    message(FATAL_ERROR "quarvel_add_wine_test(${name}): no Wine fixture ${ARG_FIXTURE}")
  endif()
  list(POP_FRONT ARG_COMMAND program)
  if(TARGET ${program})
    set(program $<TARGET_FILE:${program}>)
  endif()
  add_test(NAME ${name}
    COMMAND bash ${QUARVEL_WINE_SCRIPT} run ${ARG_TIMEOUT} ${program} ${ARG_COMMAND})
  math(EXPR limit "${ARG_TIMEOUT} + 30")
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${environment}"
    FIXTURES_REQUIRED "${ARG_FIXTURE};${ARG_REQUIRES}"
    TIMEOUT ${limit}
    LABELS "wine;${ARG_LABELS}")
  if(ARG_SETUP)
    set_tests_properties(${name} PROPERTIES FIXTURES_SETUP ${ARG_SETUP})
  endif()
  if(ARG_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
endfunction()
