# Renders the pictures of Pictures.cmake with rsvg-convert, the icon with
# ImageMagick, and writes the resource script and the C++ table that names
# every rendering. Defines the object library quarvel_artwork_win32.

include(${CMAKE_CURRENT_LIST_DIR}/Pictures.cmake)

find_program(QUARVEL_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(QUARVEL_IM_CONVERT convert REQUIRED)

set(_sources ${PROJECT_SOURCE_DIR}/window/artwork)
set(_out ${CMAKE_CURRENT_BINARY_DIR}/artwork)
file(MAKE_DIRECTORY ${_out})

set(_pngs)
set(_rc_lines)
set(_table_lines)
set(_id 1000)
foreach(_row IN LISTS QUARVEL_WIN32_PICTURES)
  separate_arguments(_fields UNIX_COMMAND "${_row}")
  list(POP_FRONT _fields _name _file _ground)
  set(_background)
  set(_transparent false)
  if(_ground STREQUAL "opaque")
    set(_background --background-color=white)
  elseif(_ground STREQUAL "transparent")
    set(_transparent true)
  else()
    message(FATAL_ERROR "picture ${_name}: unknown ground ${_ground}")
  endif()
  foreach(_size IN LISTS _fields)
    string(REGEX MATCH "^([0-9]+)x([0-9]+)$" _match "${_size}")
    if(NOT _match)
      message(FATAL_ERROR "picture ${_name}: bad size ${_size}")
    endif()
    set(_w ${CMAKE_MATCH_1})
    set(_h ${CMAKE_MATCH_2})
    set(_png ${_out}/${_name}-${_w}x${_h}.png)
    add_custom_command(OUTPUT ${_png}
      COMMAND ${QUARVEL_RSVG_CONVERT} ${_background} --width=${_w} --height=${_h}
              --output=${_png} ${_sources}/${_file}
      DEPENDS ${_sources}/${_file} ${CMAKE_CURRENT_LIST_DIR}/Pictures.cmake
      VERBATIM)
    list(APPEND _pngs ${_png})
    string(APPEND _rc_lines "${_id} RCDATA \"${_png}\"\n")
    string(APPEND _table_lines "    {\"${_name}\", ${_w}, ${_h}, ${_id}, ${_transparent}},\n")
    math(EXPR _id "${_id} + 1")
  endforeach()
endforeach()

# The icon: the logo at each size, centred on a transparent square.
set(_icon_pngs)
foreach(_size IN LISTS QUARVEL_WIN32_ICON_SIZES)
  math(EXPR _logo_h "(${_size} * 15 + 11) / 23")
  set(_png ${_out}/icon-${_size}.png)
  add_custom_command(OUTPUT ${_png}
    COMMAND ${QUARVEL_RSVG_CONVERT} --width=${_size} --height=${_logo_h}
            --output=${_png}.logo.png ${_sources}/logo.svg
    COMMAND ${QUARVEL_IM_CONVERT} ${_png}.logo.png -background none -gravity center
            -extent ${_size}x${_size} PNG32:${_png}
    DEPENDS ${_sources}/logo.svg
    VERBATIM)
  list(APPEND _icon_pngs ${_png})
endforeach()
set(_ico ${_out}/quarvel.ico)
add_custom_command(OUTPUT ${_ico}
  COMMAND ${QUARVEL_IM_CONVERT} ${_icon_pngs} ${_ico}
  DEPENDS ${_icon_pngs}
  VERBATIM)

set(QUARVEL_WIN32_ICON_ID 1)
set(_rc ${_out}/pictures.rc)
file(WRITE ${_rc}.in
  "// Generated from window/win32/Pictures.cmake.\n"
  "${QUARVEL_WIN32_ICON_ID} ICON \"${_ico}\"\n"
  "${_rc_lines}")
configure_file(${_rc}.in ${_rc} COPYONLY)
file(WRITE ${_out}/PictureTable.inc.in
  "// Generated from window/win32/Pictures.cmake: name, width, height, resource, transparent.\n"
  "${_table_lines}")
configure_file(${_out}/PictureTable.inc.in ${_out}/PictureTable.inc COPYONLY)

add_custom_target(quarvel_win32_pictures DEPENDS ${_pngs} ${_ico})
set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS "${_pngs};${_ico}")
add_library(quarvel_artwork_win32 OBJECT ${_rc})
add_dependencies(quarvel_artwork_win32 quarvel_win32_pictures)
