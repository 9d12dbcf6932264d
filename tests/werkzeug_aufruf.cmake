# The tool as people call it: refusals, both POCSAG bit rates, a WAV through a
# pipe, German help.
#   cmake -DTOOL=path/to/tonwerk -DDIR=scratch-dir -P werkzeug_aufruf.cmake
file(REMOVE_RECURSE ${DIR})
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

# Exit 2, one line on stderr matching `erwartet`, nothing on stdout.
function(abgelehnt beschreibung erwartet)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE fehler)
  string(REGEX MATCHALL "\n" zeilen "${fehler}")
  list(LENGTH zeilen anzahl)
  if(NOT rc EQUAL 2 OR NOT anzahl EQUAL 1 OR NOT fehler MATCHES "${erwartet}" OR NOT aus STREQUAL "")
    message(FATAL_ERROR "${beschreibung}: exit ${rc}, stderr:\n${fehler}")
  endif()
endfunction()

abgelehnt("status 16" "^tonwerk: --status 16: erlaubt sind 0 bis 15\n$"
          ${TOOL} send fms --kennung 6A1B2345 --status 16 -o ${DIR}/nie.wav)
abgelehnt("zvei 1234" "rufnummer \"1234\": erlaubt sind genau 5 Ziffern"
          ${TOOL} send zvei 1234 -o ${DIR}/nie.wav)
abgelehnt("missing option" "--kennung fehlt" ${TOOL} send fms --status 3 -o ${DIR}/nie.wav)
abgelehnt("no subcommand" "Ein Befehl fehlt" ${TOOL})
abgelehnt("bad key line" "--key: \"cts\" nicht erlaubt; erlaubt sind dtr oder rts"
          ${TOOL} send tonruf 0 --key cts -o ${DIR}/nie.wav)
abgelehnt("record -3" "Aufnahmelänge -3 s" ${TOOL} record -3 ${DIR}/nie.wav)
abgelehnt("unknown option" "Unbekannt: --gibtsnicht" ${TOOL} decode x.wav --gibtsnicht)
if(EXISTS ${DIR}/nie.wav)
  message(FATAL_ERROR "a refused send wrote its file")
endif()

# POCSAG at either bit rate is found without being asked for, and says its rate.
pruefen("send 1200" "" ${TOOL} send pocsag --ric 1234567 --funktion 2 --baud 1200 --text Einsatz -o ${DIR}/p1200.wav)
pruefen("send 512" "" ${TOOL} send pocsag --ric 8 --text Probe -o ${DIR}/p512.wav)
pruefen("decode 1200" "RIC=1234567  Funktion=[0-9]  Baud=1200  Text=\"Einsatz" ${TOOL} decode ${DIR}/p1200.wav)
pruefen("decode 512" "RIC=8  Funktion=[0-9]  Baud=512  Text=\"Probe" ${TOOL} decode ${DIR}/p512.wav)
string(REGEX MATCHALL "POCDecodierung" treffer "${ausgabe}")
list(LENGTH treffer anzahl)
if(NOT anzahl EQUAL 1)
  message(FATAL_ERROR "decode 512: ${anzahl} messages instead of 1:\n${ausgabe}")
endif()
pruefen("decode --baud 512" "" ${TOOL} decode --baud 512 ${DIR}/p1200.wav)
if(ausgabe MATCHES "POCDecodierung")
  message(FATAL_ERROR "--baud 512 read a 1200 bit/s message:\n${ausgabe}")
endif()
pruefen("decode --baud 1200 --json" "\"Baud\":1200" ${TOOL} decode --baud 1200 --json ${DIR}/p1200.wav)

# A WAV file through a pipe is a file, not raw samples.
pruefen("send fms" "" ${TOOL} send fms --kennung 6A1B2345 --status 4 -o ${DIR}/fms.wav)
pruefen("decode stdin" "Kennung=\"6A1B2345\".*Status=4"
        sh -c "cat '${DIR}/fms.wav' | '${TOOL}' decode -")

# German from usage line to version.
pruefen("help" "Aufruf: tonwerk.*Diese Hilfe zeigen" ${TOOL} --help)
if(ausgabe MATCHES "Usage|Print this help|Subcommands|Options")
  message(FATAL_ERROR "English left in the help:\n${ausgabe}")
endif()
pruefen("decode help" "--baud.*Ende des Aufnahmepuffers" ${TOOL} decode --help)
pruefen("listen help" "--rate.*11025" ${TOOL} listen --help)
pruefen("version" "^tonwerk [0-9]+\\.[0-9]+" ${TOOL} --version)
