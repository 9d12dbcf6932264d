#!/bin/sh
# The tray icon clicked for real: a virtual X display (xvfb-run), the tray host
# trayer, the test program hiding its window behind the icon, and a left click
# on the icon with xdotool once xwininfo shows it docked in trayer's panel.
# Every loop polls for a condition; its bound only limits how long a failure
# takes. Exit 77 (skipped) only when xvfb-run is missing.
set -u
programm=$1
if [ "${2:-}" != --innen ]; then
  command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run fehlt: übersprungen"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1280x800x24" sh "$0" "$programm" --innen
fi
for werkzeug in trayer xdotool xwininfo; do
  command -v "$werkzeug" >/dev/null 2>&1 || { echo "$werkzeug fehlt"; exit 1; }
done

arbeit=$(mktemp -d)
trayer --edge top --align right --widthtype request --height 32 >"$arbeit/trayer.log" 2>&1 &
trayer=$!
"$programm" >"$arbeit/ausgabe" 2>&1 &
pruefling=$!
aufraeumen() { kill "$trayer" 2>/dev/null; kill "$pruefling" 2>/dev/null; rm -rf "$arbeit"; }
trap aufraeumen EXIT
name=$(basename "$programm")

# 1. The program hid its window behind the docked icon.
i=0
until grep -q IM_TRAY "$arbeit/ausgabe"; do
  kill -0 "$pruefling" 2>/dev/null || { cat "$arbeit/ausgabe"; echo "Programm endete vor dem Tray"; exit 1; }
  i=$((i + 1)); [ $i -le 600 ] || { cat "$arbeit/ausgabe"; echo "kein Trayicon"; exit 1; }
  sleep 0.1
done

# 2. The icon's window inside trayer's panel: size and absolute position.
i=0
while :; do
  zeile=$(xwininfo -root -tree | awk -v n="\"$name\": (\"$name\"" '/"panel": \(/ {p = 1} p && index($0, n) {print; exit}')
  [ -n "$zeile" ] && break
  i=$((i + 1)); [ $i -le 300 ] || { xwininfo -root -tree; echo "Icon nicht im Panel gefunden"; exit 1; }
  sleep 0.1
done
groesse=$(echo "$zeile" | awk '{for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) {print $i; exit}}')
absolut=$(echo "$zeile" | awk '{print $NF}')
b=${groesse%%x*}; rest=${groesse#*x}; h=${rest%%+*}
x=$(echo "$absolut" | cut -d+ -f2); y=$(echo "$absolut" | cut -d+ -f3)
echo "Icon $groesse bei +$x+$y"

# 3. A left click in its middle; the program ends 0 once its window is back.
xdotool mousemove $((x + b / 2)) $((y + h / 2)) click 1
wait "$pruefling"
status=$?
cat "$arbeit/ausgabe"
exit $status
