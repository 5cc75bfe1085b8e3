# Runs one golden call script through doxrun and compares the RTF, the trace
# of results and reports, and the refusal lines with the expected files
# beside it (NAME.rtf, NAME.trace; NAME.err.trace when it exists).
get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(dir ${SCRIPT} DIRECTORY)
file(MAKE_DIRECTORY ${WORKDIR}/${name})
# Scripts that write files do so in their own directory.
set(options)
if(name MATCHES "^stop_")
  set(options --stop)
endif()
execute_process(COMMAND ${DOXRUN} ${options} -o ${name}.rtf --trace ${name}.trace ${SCRIPT}
  WORKING_DIRECTORY ${WORKDIR}/${name} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc MATCHES "^[01]$" AND NOT EXISTS ${dir}/${name}.err.trace)
  message(FATAL_ERROR "doxrun failed (${rc}): ${err}")
endif()
string(REPLACE "${SCRIPT}:" "${name}.dox:" err "${err}")
file(WRITE ${WORKDIR}/${name}/${name}.err.trace "exit ${rc}\n${err}")
# A script error (exit 2) writes no RTF or trace.
foreach(kind rtf trace err.trace)
  set(expected ${dir}/${name}.${kind})
  if((NOT kind STREQUAL "err.trace" AND NOT rc EQUAL 2) OR EXISTS ${expected})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORKDIR}/${name}/${name}.${kind} ${expected}
      RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
      file(READ ${WORKDIR}/${name}/${name}.${kind} got)
      message(FATAL_ERROR "${name}.${kind} differs from the expected file. Got:\n${got}")
    endif()
  endif()
endforeach()
