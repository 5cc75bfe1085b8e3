# Runs one golden call script through doxrun.exe under Wine and compares the
# result with the expected files beside the script (see dox_golden_compare
# for how the font table is compared; everything else must be identical).
#   cmake -DWINE=wine -DDOXRUN=doxrun.exe -DCOMPARE=dox_golden_compare.exe
#         -DSCRIPT=NAME.dox -DWORKDIR=... -DCLIPBOARD=0|1 [-DLINUX_DOXRUN=doxrun]
#         -P run_wine_golden.cmake
# With LINUX_DOXRUN (a doxrun built for Linux) the expected files are what it
# writes for the script, trace included, instead of the files beside it.
# A script that uses the clipboard starts from an empty one (the system's
# clipboard outlives the processes that fill it).
# doxrun.exe always runs with --trace, so that every report goes to the trace
# instead of a message box. With an expected trace the trace must match it
# exactly; without one it must hold no report at all: a report would have
# shown a message box.
get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(dir ${SCRIPT} DIRECTORY)
file(MAKE_DIRECTORY ${WORKDIR})
set(out ${WORKDIR}/${name}.rtf)
set(trace ${WORKDIR}/${name}.trace)
file(REMOVE ${out} ${trace})

set(expectedDir ${dir})
if(LINUX_DOXRUN)
  set(expectedDir ${WORKDIR}/linux)
  file(MAKE_DIRECTORY ${expectedDir})
  execute_process(COMMAND ${LINUX_DOXRUN} -o ${expectedDir}/${name}.rtf
                          --trace ${expectedDir}/${name}.trace ${SCRIPT}
    WORKING_DIRECTORY ${expectedDir} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the Linux doxrun failed (${rc}): ${err}")
  endif()
endif()

if(CLIPBOARD)
  execute_process(COMMAND ${WINE} ${COMPARE} --empty-clipboard RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot empty the clipboard (${rc})")
  endif()
endif()

execute_process(COMMAND ${WINE} ${DOXRUN} -o ${out} --trace ${trace} ${SCRIPT}
  WORKING_DIRECTORY ${WORKDIR} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "doxrun.exe failed (${rc}): ${err}")
endif()

if(EXISTS ${expectedDir}/${name}.trace)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${trace} ${expectedDir}/${name}.trace
    RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    file(READ ${trace} got)
    message(FATAL_ERROR "${name}.trace differs from the expected file. Got:\n${got}")
  endif()
else()
  file(STRINGS ${trace} reports REGEX "^  report ")
  if(reports)
    message(FATAL_ERROR "${name}: reports that would have shown a message box:\n${reports}")
  endif()
endif()

execute_process(COMMAND ${WINE} ${COMPARE} ${expectedDir}/${name}.rtf ${out}
  RESULT_VARIABLE rc OUTPUT_VARIABLE diff)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${name}.rtf differs from the expected file:\n${diff}")
endif()
