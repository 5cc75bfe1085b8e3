# Writes OUT: one C++ initializer {"Name", "return type", "parameters"} for
# every export declared in HEADER (dox.h), so that doxrun takes the names and
# types of the parameters from the header itself; and CONSTANTS: {"NAME", NAME}
# for every numeric constant the header defines.
file(READ ${HEADER} text)
file(STRINGS ${HEADER} defines REGEX "^#define [A-Z][A-Z0-9_]* +(0x[0-9A-Fa-f]+|[0-9]+)u?( |$)")
set(constants "")
foreach(d ${defines})
  string(REGEX MATCH "^#define ([A-Z][A-Z0-9_]*)" _ "${d}")
  string(APPEND constants "{\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_1}},\n")
endforeach()
file(WRITE ${CONSTANTS}.tmp "${constants}")
configure_file(${CONSTANTS}.tmp ${CONSTANTS} COPYONLY)
# Comments out, declarations on one line each.
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" text "${text}")
string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")
string(REPLACE "*DOXAPI" "* DOXAPI" text "${text}")
string(REGEX MATCHALL "DOXEXPORT [^;]*DOXAPI \\*?[A-Za-z0-9_]+\\([^)]*\\)" decls "${text}")
set(out "")
foreach(d ${decls})
  string(REGEX MATCH "DOXEXPORT (.*) DOXAPI (\\*?)([A-Za-z0-9_]+)\\(([^)]*)\\)" _ "${d}")
  set(ret "${CMAKE_MATCH_1}${CMAKE_MATCH_2}")
  string(REPLACE "* " "*" ret "${ret}")
  set(params "${CMAKE_MATCH_4}")
  string(REPLACE "\"" "\\\"" params "${params}")
  string(APPEND out "{\"${CMAKE_MATCH_3}\", \"${ret}\", \"${params}\"},\n")
endforeach()
file(WRITE ${OUT}.tmp "${out}")
configure_file(${OUT}.tmp ${OUT} COPYONLY)
