# Type libraries and headers from IDL with MinGW-w64's widl, against Wine's IDL files.
#
#   quarvel_widl(<library> <file.idl>)
#
# Makes, in the current binary folder, the type library <name>.tlb and the identities
# <name>_i.c of an IDL library, and <library>: a static library of the identities whose users
# see the .tlb (for a resource that embeds it). No header: one of the library would declare its
# classes, whose names may clash with the Windows headers.
# Debian ships the IDL files the
# import needs in libwine-dev and stdole2.tlb in libwine; they are found through dpkg.

include(QuarvelPackages)
find_program(QUARVEL_WIDL NAMES ${QUARVEL_MINGW_PREFIX}-widl x86_64-w64-mingw32-widl REQUIRED)

quarvel_package_file(QUARVEL_WINE_IDL_DIR libwine-dev "/oaidl\\.idl")
quarvel_package_file(QUARVEL_WINE_TLB_DIR libwine "/x86_64-windows/stdole2\\.tlb")

function(quarvel_widl library idl)
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(source ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  set(flags -m64 -I ${QUARVEL_WINE_IDL_DIR} -L ${QUARVEL_WINE_TLB_DIR})
  add_custom_command(
    OUTPUT ${out}/${name}.tlb ${out}/${name}_i.c
    COMMAND ${QUARVEL_WIDL} ${flags} -t -o ${out}/${name}.tlb ${source}
    COMMAND ${QUARVEL_WIDL} ${flags} -u -o ${out}/${name}_i.c ${source}
    DEPENDS ${source}
    COMMENT "Generating the type library and identities of ${name}.idl"
    VERBATIM)
  set_source_files_properties(${out}/${name}_i.c PROPERTIES LANGUAGE CXX)
  add_library(${library} STATIC ${out}/${name}_i.c ${out}/${name}.tlb)
  target_include_directories(${library} PUBLIC ${out})
  target_link_libraries(${library} PUBLIC ole32 oleaut32 uuid)
endfunction()
