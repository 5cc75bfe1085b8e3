# Rewrites the import library of the 32-bit DLL so that C and C++ hosts can
# link against it. The DLL exports plain names (DoxNewDoc, linked with
# --kill-at), while a caller compiled with dox.h refers to the stdcall names
# (_DoxNewDoc@0); ld's own import library knows only the plain ones. The
# stdcall names come from the DLL's symbol table, restricted to the names of
# the .def file; dlltool --kill-at then maps each of them to its plain export.
#   cmake -DNM=... -DDLLTOOL=... -DDLL=dox.dll -DDEF=dox.def -DIMPLIB=libdox.dll.a
#         -P stdcall_implib.cmake
include(${CMAKE_CURRENT_LIST_DIR}/dox_exports.cmake)
dox_def_exports(${DEF} listed)

execute_process(COMMAND ${NM} --defined-only ${DLL} OUTPUT_VARIABLE syms RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${DLL}")
endif()
string(REGEX MATCHALL " T _[A-Za-z0-9_]+@[0-9]+" decorated "${syms}")

set(def "LIBRARY dox.dll\nEXPORTS\n")
set(missing)
foreach(name ${listed})
  set(found "")
  foreach(d ${decorated})
    if(d MATCHES " T _${name}@([0-9]+)$")
      set(found "${name}@${CMAKE_MATCH_1}")
      break()
    endif()
  endforeach()
  if(found STREQUAL "")
    list(APPEND missing ${name})
  else()
    string(APPEND def "  ${found}\n")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "no stdcall symbol in ${DLL} for: ${missing}")
endif()

# dlltool names the library's own symbols (__<name>_iname, _head_<name>) after
# the output path as given: run it in the import library's directory with the
# bare file names, so that no path of the build machine ends up in the file.
get_filename_component(implibDir ${IMPLIB} DIRECTORY)
get_filename_component(implibName ${IMPLIB} NAME)
file(WRITE ${implibDir}/dox_stdcall.def "${def}")
execute_process(COMMAND ${DLLTOOL} --kill-at --dllname dox.dll -d dox_stdcall.def -l ${implibName}
                WORKING_DIRECTORY ${implibDir}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} could not write ${IMPLIB}")
endif()
