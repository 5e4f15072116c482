# Renders the designed pictures (Pictures.cmake says how) with rsvg-convert,
# the icon with ImageMagick, and writes the resource script and the C++ table
# that names every rendering. Defines the object library quarvel_artwork_win32.

include(${CMAKE_CURRENT_LIST_DIR}/Pictures.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/DesignOnHost.cmake)
quarvel_design_on_host(picture-list _picture_list ${CMAKE_CURRENT_LIST_DIR}/PictureList.cpp)
string(REPLACE "\n" ";" _picture_rows "${_picture_list}")
list(FILTER _picture_rows EXCLUDE REGEX "^$")

# The sizes a picture is rendered at, design size first: "WxH;WxH...": the
# design size at every scale the window is drawn at (and, but for the skin,
# one size larger: some controls stretch their picture), and for pictures on a
# transparent ground the steps down to marker sizes as well.
function(quarvel_rendering_sizes output name width height ground)
  set(sizes "${width}x${height}")
  set(percents ${QUARVEL_WIN32_SCALES_PERCENT})
  if(NOT name STREQUAL "skin")
    list(APPEND percents ${QUARVEL_WIN32_HEADROOM_PERCENT})
  endif()
  foreach(percent IN LISTS percents)
    if(NOT percent EQUAL 100)
      # Rounded halves up, as the window rounds its scaled sizes.
      math(EXPR w "(${width} * ${percent} + 50) / 100")
      math(EXPR h "(${height} * ${percent} + 50) / 100")
      list(APPEND sizes "${w}x${h}")
    endif()
  endforeach()
  if(ground STREQUAL "transparent")
    while(width GREATER QUARVEL_WIN32_SMALLEST_STEP AND height GREATER QUARVEL_WIN32_SMALLEST_STEP)
      math(EXPR width "${width} * ${QUARVEL_WIN32_STEP_PERMILLE} / 1000")
      math(EXPR height "${height} * ${QUARVEL_WIN32_STEP_PERMILLE} / 1000")
      list(APPEND sizes "${width}x${height}")
    endwhile()
  endif()
  list(REMOVE_DUPLICATES sizes)
  set(${output} "${sizes}" PARENT_SCOPE)
endfunction()

find_program(QUARVEL_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(QUARVEL_IM_CONVERT convert REQUIRED)

set(_sources ${PROJECT_SOURCE_DIR}/window/artwork)
set(_out ${CMAKE_CURRENT_BINARY_DIR}/artwork)
file(MAKE_DIRECTORY ${_out})

set(_pngs)
set(_rc_lines)
set(_table_lines)
set(_id 1000)
foreach(_row IN LISTS _picture_rows)
  separate_arguments(_fields UNIX_COMMAND "${_row}")
  list(POP_FRONT _fields _name _file _design_width _design_height _ground)
  quarvel_rendering_sizes(_fields ${_name} ${_design_width} ${_design_height} ${_ground})
  if(_name STREQUAL "logo")
    set(_logo ${_file} ${_design_width} ${_design_height})
  endif()
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
      DEPENDS ${_sources}/${_file}
      VERBATIM)
    list(APPEND _pngs ${_png})
    string(APPEND _rc_lines "${_id} RCDATA \"${_png}\"\n")
    string(APPEND _table_lines "    {\"${_name}\", ${_w}, ${_h}, ${_id}, ${_transparent}},\n")
    math(EXPR _id "${_id} + 1")
  endforeach()
endforeach()

# The icon: the logo at each size, centred on a transparent square.
if(NOT _logo)
  message(FATAL_ERROR "the design table has no logo picture for the icon")
endif()
list(POP_FRONT _logo _logo_file _logo_width _logo_height)
set(_icon_pngs)
foreach(_size IN LISTS QUARVEL_WIN32_ICON_SIZES)
  math(EXPR _logo_h "(${_size} * ${_logo_height} + ${_logo_width} / 2) / ${_logo_width}")
  set(_png ${_out}/icon-${_size}.png)
  add_custom_command(OUTPUT ${_png}
    COMMAND ${QUARVEL_RSVG_CONVERT} --width=${_size} --height=${_logo_h}
            --output=${_png}.logo.png ${_sources}/${_logo_file}
    COMMAND ${QUARVEL_IM_CONVERT} ${_png}.logo.png -background none -gravity center
            -extent ${_size}x${_size} PNG32:${_png}
    DEPENDS ${_sources}/${_logo_file}
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
  "// Generated from the design table (window/Design.cpp) and window/win32/Pictures.cmake.\n"
  "${QUARVEL_WIN32_ICON_ID} ICON \"${_ico}\"\n"
  "${_rc_lines}")
configure_file(${_rc}.in ${_rc} COPYONLY)
file(WRITE ${_out}/PictureTable.inc.in
  "// Generated from the design table: name, width, height, resource, transparent.\n"
  "${_table_lines}")
configure_file(${_out}/PictureTable.inc.in ${_out}/PictureTable.inc COPYONLY)

add_custom_target(quarvel_win32_pictures DEPENDS ${_pngs} ${_ico})
set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS "${_pngs};${_ico}")
add_library(quarvel_artwork_win32 OBJECT ${_rc})
add_dependencies(quarvel_artwork_win32 quarvel_win32_pictures)
