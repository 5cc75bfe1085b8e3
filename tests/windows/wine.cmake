# The Wine of the Windows tests, in the prefix that WINEPREFIX names.
#   cmake -DWINE=wine -DWINESERVER=wineserver -DDOXRUN=doxrun.exe -DHOST=dox_host_test.exe
#         -DLINUX_DOXRUN=doxrun|"" -DWORKDIR=DIR (-DMODE=start|stop | -DSCRIPT=NAME.dox) -P wine.cmake
# start creates the prefix, adds Wine's own fonts (Symbol, Wingdings, Tahoma...) as a Windows
# system has its own, starts a server that stays a minute after its last program, and empties
# the clipboard once with doxrun.exe, which starts Wine's background programs (services, the
# desktop that keeps the clipboard): they outlive the program that starts them and keep its
# output open, so no test whose output CTest reads may be the first. stop ends them all.
#
# SCRIPT runs through doxrun.exe in a folder of its own, from an empty clipboard (the system's
# outlives the programs that fill it), and its RTF, trace, and exit status with the refusal lines
# (NAME.err.trace, as the Linux golden tests write it) must equal the expected files beside it
# (NAME.err.trace where there is one) or, for a script without them, what LINUX_DOXRUN writes.
# doxrun runs with --trace, so every report goes to the trace and none to a message box. The
# font table's family and character set words come from the system's fonts: the RTF is compared
# with the expected one as this system must write it (dox_host_test --fonts).
function(run)
  execute_process(COMMAND ${ARGN} INPUT_FILE /dev/null OUTPUT_FILE /dev/null
                  ERROR_FILE /dev/null RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc})")
  endif()
endfunction()
if(MODE STREQUAL "stop")
  run(${WINESERVER} -k)
  return()
elseif(MODE STREQUAL "start")
  execute_process(COMMAND ${WINESERVER} -k ERROR_QUIET)  # one left over from an earlier run
  run(${WINE} wineboot --init)
  file(GLOB fonts /usr/share/wine/fonts/*.ttf)
  file(COPY ${fonts} DESTINATION $ENV{WINEPREFIX}/drive_c/windows/Fonts)
  run(${WINESERVER} -w)
  run(${WINESERVER} -p60)
  file(WRITE ${WORKDIR}/empty_clipboard.dox "DoxClipboardEmpty\n")
  run(${WINE} ${DOXRUN} --trace - ${WORKDIR}/empty_clipboard.dox)
  return()
endif()

get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(expected ${SCRIPT} DIRECTORY)
get_filename_component(kind ${expected} NAME)
set(dir ${WORKDIR}/${kind}/${name})
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir}/linux)
file(WRITE ${dir}/empty_clipboard.dox "DoxClipboardEmpty\n")
run(${WINE} ${DOXRUN} --trace - ${dir}/empty_clipboard.dox)
# doxrun(DIR COMMAND...): runs the script with COMMAND in DIR, where it writes NAME.rtf,
# NAME.trace and NAME.err.trace.
function(doxrun out)
  execute_process(COMMAND ${ARGN} -o ${name}.rtf --trace ${name}.trace ${SCRIPT}
    WORKING_DIRECTORY ${out} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc MATCHES "^[01]$")
    message(FATAL_ERROR "${ARGN} failed (${rc}): ${err}")
  endif()
  string(REPLACE "\r" "" err "${err}")
  string(REPLACE "${SCRIPT}:" "${name}.dox:" err "${err}")
  file(WRITE ${out}/${name}.err.trace "exit ${rc}\n${err}")
endfunction()
if(NOT EXISTS ${expected}/${name}.trace)
  set(expected ${dir}/linux)
  doxrun(${expected} ${LINUX_DOXRUN})
endif()
doxrun(${dir} ${WINE} ${DOXRUN})
file(GLOB copies ${expected}/${name}.trace ${expected}/${name}.err.trace)
file(COPY ${copies} DESTINATION ${dir}/want)
run(${WINE} ${HOST} --fonts ${expected}/${name}.rtf ${dir}/${name}.rtf ${dir}/want/${name}.rtf)
foreach(file ${name}.rtf ${name}.trace ${name}.err.trace)
  if(EXISTS ${dir}/want/${file} OR NOT file MATCHES "\\.err\\.trace$")
    file(READ ${dir}/want/${file} want)
    file(READ ${dir}/${file} got)
    if(NOT got STREQUAL want)
      message(FATAL_ERROR "${file} differs. Expected:\n${want}\nGot:\n${got}")
    endif()
  endif()
endforeach()
