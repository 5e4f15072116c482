# The design table (window/Design.cpp) read on the build machine while the
# Windows build is configured: a small program of the build machine's own
# compiler prints what a build step or script needs from it.
#
#   quarvel_design_on_host(<name> <output variable> <sources...>)
#       builds window/Design.cpp with <sources> (one has main) and sets the
#       variable to what the program prints; the build is configured again
#       when any of them changes.

find_program(QUARVEL_HOST_CXX NAMES c++ g++ REQUIRED)

function(quarvel_design_on_host name output)
  set(program ${CMAKE_BINARY_DIR}/design-on-host/${name})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/design-on-host)
  set(sources ${PROJECT_SOURCE_DIR}/window/Design.cpp ${ARGN})
  execute_process(
    COMMAND ${QUARVEL_HOST_CXX} -std=c++20 -I${PROJECT_SOURCE_DIR} -I${PROJECT_BINARY_DIR} ${sources}
            -o ${program}
    RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot build ${name} for the build machine:\n${errors}")
  endif()
  execute_process(COMMAND ${program} OUTPUT_VARIABLE printed RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name} failed (${status})")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${sources} ${PROJECT_SOURCE_DIR}/window/Design.h ${PROJECT_SOURCE_DIR}/version/Version.h.in)
  set(${output} "${printed}" PARENT_SCOPE)
endfunction()
