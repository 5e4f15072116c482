# Files that Debian packages install, found through the package's file list so that no folder
# of a particular machine is written down.
#
#   quarvel_package_file(<variable> <package> <regex>)
#
# Sets the cache variable <variable> to the folder of the first file of <package> whose path
# matches <regex>, unless it is set already; fails when the package has no such file.
function(quarvel_package_file variable package pattern)
  if(${variable})
    return()
  endif()
  execute_process(COMMAND dpkg -L ${package} OUTPUT_VARIABLE files ERROR_QUIET)
  string(REGEX MATCH "[^\n]*${pattern}" found "${files}")
  if(NOT found)
    message(FATAL_ERROR "No ${pattern} in the package ${package}: is it installed? "
                        "(scripts/build-windows.sh installs what the Windows build needs)")
  endif()
  get_filename_component(folder "${found}" DIRECTORY)
  set(${variable} "${folder}" CACHE PATH "Folder of ${pattern} from ${package}")
endfunction()
