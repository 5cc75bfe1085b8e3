# Writes the names of the exports that dox.h declares as a C++ initializer
# list ("DoxNewDoc", ...) for the host test.
#   cmake -DHEADER=dox.h -DOUT=export_names.inc -P export_names.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/dox_exports.cmake)
dox_header_exports(${HEADER} names counts)
set(text "// Generated from dox.h: the names of its exports.\n")
foreach(n ${names})
  string(APPEND text "\"${n}\",\n")
endforeach()
file(WRITE ${OUT}.tmp "${text}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
