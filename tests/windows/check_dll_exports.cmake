# The DLL as a legacy host sees it:
# - its export table (objdump -p) names exactly the exports of dox.h, each
#   under its plain name;
# - it imports nothing beyond the system's own DLLs (the C++ runtime is linked
#   in), and neither do the programs EXES;
# - 32-bit: every export is stdcall with the argument bytes its declaration
#   in dox.h implies (4 per parameter), so a missing DOXAPI or a definition
#   that disagrees with its declaration is caught; and the import library maps
#   those stdcall names to the plain exports.
#   cmake -DHEADER=dox.h -DOBJDUMP=... -DNM=... -DDLL=dox.dll -DIMPLIB=libdox.dll.a
#         -DEXES="doxrun.exe;..." -DBITS=32|64 -P check_dll_exports.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/dox_exports.cmake)
dox_header_exports(${HEADER} declared counts)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t\\[ *[0-9]+\\] [^\n]+\n)*" table "${text}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" exported "${table}")
list(TRANSFORM exported REPLACE "^\t\\[ *[0-9]+\\] " "")
set(missing ${declared})
set(extra ${exported})
list(REMOVE_ITEM missing ${exported})
list(REMOVE_ITEM extra ${declared})
if(NOT declared OR missing OR extra)
  string(APPEND failures "export table of ${DLL} against dox.h: missing ${missing}, not declared ${extra}\n")
endif()

foreach(image ${DLL} ${EXES})
  execute_process(COMMAND ${OBJDUMP} -p ${image} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${text}")
  list(TRANSFORM imports REPLACE "DLL Name: " "")
  list(TRANSFORM imports TOLOWER)
  list(REMOVE_ITEM imports kernel32.dll user32.dll gdi32.dll msvcrt.dll)
  if(imports)
    string(APPEND failures "${image} needs ${imports}, beyond the system's DLLs\n")
  endif()
endforeach()

if(BITS EQUAL 32)
  execute_process(COMMAND ${NM} --defined-only ${DLL} OUTPUT_VARIABLE syms COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${NM} ${IMPLIB} OUTPUT_VARIABLE implibSyms COMMAND_ERROR_IS_FATAL ANY)
  foreach(name n IN ZIP_LISTS declared counts)
    math(EXPR bytes "4 * ${n}")
    if(NOT syms MATCHES " T _${name}@${bytes}\n")
      string(APPEND failures "${DLL} lacks the stdcall symbol _${name}@${bytes} (${n} parameters in dox.h)\n")
    elseif(NOT implibSyms MATCHES " T _${name}@${bytes}\n")
      string(APPEND failures "the import library lacks _${name}@${bytes}\n")
    endif()
  endforeach()
endif()

# No path of the build machine in the import library: neither as written
# nor as dlltool spells it in symbol names (each other character as '_').
get_filename_component(buildDir ${IMPLIB} DIRECTORY)
string(REGEX REPLACE "[^A-Za-z0-9]" "_" mangledDir "${buildDir}")
set(buildDirPattern "${buildDir}")
foreach(c . + * ? ^ $ "(" ")" "|" "[" "]")
  string(REPLACE "${c}" "\\${c}" buildDirPattern "${buildDirPattern}")
endforeach()
file(STRINGS ${IMPLIB} pathStrings REGEX "${buildDirPattern}|${mangledDir}")
if(pathStrings)
  string(APPEND failures "${IMPLIB} holds the build path: ${pathStrings}\n")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "the exports of ${DLL} agree with dox.h")
