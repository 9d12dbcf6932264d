# The tool's send subcommands write files that its decoder reads back:
#   cmake -DTOOL=path/to/tonwerk -DDIR=scratch-dir -P werkzeug_tonfolge.cmake
file(MAKE_DIRECTORY ${DIR})

function(pruefen beschreibung erwartet)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE fehler)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${beschreibung}: exit ${rc}: ${fehler}")
  endif()
  if(NOT "${erwartet}" STREQUAL "" AND NOT aus MATCHES "${erwartet}")
    message(FATAL_ERROR "${beschreibung}: expected '${erwartet}' in:\n${aus}")
  endif()
  set(ausgabe "${aus}" PARENT_SCOPE)
endfunction()

pruefen("send zvei" "" ${TOOL} send zvei 11234 --doppelt --zusatz 2 -o ${DIR}/zvei.wav)
pruefen("decode zvei" "ZVEINr=\"11234\".*ZVEINr=\"11234\"" ${TOOL} decode ${DIR}/zvei.wav --doppelt-sek 0)
string(REGEX MATCHALL "ZVEIDecodierung" treffer "${ausgabe}")
list(LENGTH treffer anzahl)
if(NOT anzahl EQUAL 2)
  message(FATAL_ERROR "decode zvei: ${anzahl} sequences instead of 2:\n${ausgabe}")
endif()

pruefen("send tonruf" "" ${TOOL} send tonruf 2 --set Ausgangspegel=100 -o ${DIR}/tonruf.wav)
pruefen("decode tonruf" "TonrufDecodierungA  Kanal=0  tonruf=2.*TonrufDecodierung  wert=2" ${TOOL} decode ${DIR}/tonruf.wav)

file(SIZE ${DIR}/tonruf.wav groesse)
if(NOT groesse EQUAL 18456)
  message(FATAL_ERROR "tonruf.wav has ${groesse} bytes instead of 44 + 18412")
endif()
