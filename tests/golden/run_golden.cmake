# Runs one golden call script through doxrun and compares the RTF (and the
# trace, when an expected one exists) with the expected files beside it.
get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(dir ${SCRIPT} DIRECTORY)
file(MAKE_DIRECTORY ${WORKDIR})
set(out ${WORKDIR}/${name}.rtf)
set(trace ${WORKDIR}/${name}.trace)
file(REMOVE ${out} ${trace})
execute_process(COMMAND ${DOXRUN} -o ${out} --trace ${trace} ${SCRIPT}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "doxrun failed (${rc}): ${err}")
endif()
foreach(kind rtf trace)
  set(expected ${dir}/${name}.${kind})
  if(kind STREQUAL "rtf" OR EXISTS ${expected})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORKDIR}/${name}.${kind} ${expected}
      RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
      file(READ ${WORKDIR}/${name}.${kind} got)
      message(FATAL_ERROR "${name}.${kind} differs from the expected file. Got:\n${got}")
    endif()
  endif()
endforeach()
