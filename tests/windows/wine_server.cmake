# Starts (MODE=start) or ends (MODE=stop) the Wine of the tests, in the prefix
# that WINEPREFIX names.
#   cmake -DWINE=wine -DWINESERVER=wineserver -DWARMUP=prog.exe -DMODE=start|stop
#         -P wine_server.cmake
# Starting creates the prefix on first use, adds Wine's own fonts, then starts a Wine server that
# stays for a minute after its last program ends, and runs WARMUP
# --empty-clipboard once, which also starts Wine's own background programs
# (services, the desktop that keeps the clipboard). They outlive the program
# that starts them and keep its output open, so they must not be started by a
# test, whose output CTest reads to the end. Stopping ends them all.
function(run)
  execute_process(COMMAND ${ARGN} INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null
                  RESULT_VARIABLE rc)
  set(rc ${rc} PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "start")
  if(WINESERVER)
    run(${WINESERVER} -k)  # a server left over from an earlier run; fails when there is none
  endif()
  run(${WINE} wineboot --init)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "wineboot failed (${rc})")
  endif()
  # Wine's own fonts (Symbol, Wingdings, Tahoma...), when they are installed,
  # become fonts of this system as they are on Windows.
  file(GLOB wineFonts /usr/share/wine/fonts/*.ttf)
  if(wineFonts)
    file(COPY ${wineFonts} DESTINATION $ENV{WINEPREFIX}/drive_c/windows/Fonts)
  endif()
  if(WINESERVER)
    run(${WINESERVER} -w)
    run(${WINESERVER} -p60)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "wineserver -p60 failed (${rc})")
    endif()
  endif()
  run(${WINE} ${WARMUP} --empty-clipboard)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${WARMUP} --empty-clipboard failed (${rc})")
  endif()
elseif(WINESERVER)
  run(${WINESERVER} -k)
endif()
