#!/usr/bin/env bash
# Uses the program as a person would, on a virtual display: looks at each
# page, rests the pointer on a picture element until its hint shows, types a
# sizing into the dependent circuit, closes the window, starts the program
# again and looks at the values and the valve check. Screenshots go to the
# directory given (default ./demo-shots).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-demo-shots}")
mkdir -p "$out"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target zelton

run=$(mktemp -d)          # settings.ini lives beside the executable
cp build/app/zelton "$run/"
home="$run/home"          # the user's home, whose Documents get the sheet
mkdir -p "$home/Documents"
source scripts/virtual-display.sh
start_virtual_display
trap 'kill "$xvfb" 2>/dev/null || true' EXIT

start() {
  HOME="$home" "$run/zelton" &
  app=$!
  win=$(xdotool search --sync --onlyvisible --name 'Подбор клапана регулирующего' | head -n 1)
  xdotool windowfocus --sync "$win"
  sleep 0.5
}
shot() { sleep 0.3; import -window "$win" "$out/$1.png"; echo "$out/$1.png"; }
tab() { xdotool mousemove --window "$win" "$1" 13 click 1; }

start                                   # first start: nomogram page? no: page 0
tab 700; shot page2-nomogram
xdotool mousemove --window "$win" 210 300; shot page2-crosshair
tab 460; shot page1-independent
tab 150; shot page0-dependent
# the pointer rests on the pump (hot zone L__dPn): after half a second the
# flat hint shows beside it; the hint is a window of its own, so the shot is
# taken of the screen, cut to the main window
xdotool mousemove --window "$win" 642 130; sleep 0.9
eval "$(xdotool getwindowgeometry --shell "$win")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/hint.png"; echo "$out/hint.png"
# the worked sizing: dPр 1.00, dPф 0.10, Q 2.00, then Kvy raised to 4
xdotool type --delay 40 '1.00'; xdotool key Return
xdotool type --delay 40 '0.10'; xdotool key Return Return Return Return Return Return
xdotool type --delay 40 '2.00'; xdotool key Return
xdotool type --delay 40 '4';    xdotool key Return
shot typed
python3 scripts/xclose.py "$win"        # the window's close button
wait "$app"
echo "settings.ini after closing:"; cat "$run/settings.ini"
start
shot restarted
# the sizing sheet: Ctrl+S proposes "Подбор клапана <date>.pdf" in Documents
xdotool key ctrl+s
dialog=$(xdotool search --sync --onlyvisible --name 'Сохранить лист подбора' | head -n 1)
sleep 0.5
import -window "$dialog" "$out/save-dialog.png"; echo "$out/save-dialog.png"
xdotool windowfocus --sync "$dialog"; xdotool key Return
for _ in $(seq 50); do ls "$home"/Documents/*.pdf >/dev/null 2>&1 && break; sleep 0.1; done
sheet=$(ls "$home"/Documents/*.pdf)
cp "$sheet" "$out/sheet.pdf"; echo "saved: $sheet"
kill -TERM "$app"; wait "$app" || true
# the same sheet from the command line, with no window
"$run/zelton" --sheet "$out/sheet-cli.pdf" --circuit 1 && echo "$out/sheet-cli.pdf"
pdftoppm -r 80 -png -singlefile "$out/sheet.pdf" "$out/sheet"; echo "$out/sheet.png"
# the valve check: Ctrl+K opens its window beside the main window, whose
# field keeps the focus; a click into it, the worked case's heat load,
# temperatures and pressure typed there (Enter moves on), then "Перенести в
# Q" puts the flow G into Q; closed, the settings keep the check's inputs,
# and the sheet from the command line holds its block
start
xdotool key ctrl+k
check=$(xdotool search --sync --onlyvisible --name 'Проверка подбора клапана' | head -n 1)
sleep 0.5
xdotool windowfocus --sync "$check"     # what a window manager does on a click
xdotool mousemove --window "$check" 80 60 click 1; sleep 0.3
xdotool key ctrl+a; xdotool type --delay 40 '1'; xdotool key Return
xdotool type --delay 40 '150'; xdotool key Return
xdotool type --delay 40 '70';  xdotool key Return
xdotool type --delay 40 '6';   xdotool key Return
sleep 0.3; import -window "$check" "$out/check.png"; echo "$out/check.png"
xdotool mousemove --window "$check" 695 60 click 1; sleep 0.3
# both windows as the screen shows them, cut to the main window
eval "$(xdotool getwindowgeometry --shell "$win")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/check-transferred.png"
echo "$out/check-transferred.png"
python3 scripts/xclose.py "$win"
wait "$app"
echo "settings.ini with the check's inputs:"; sed -n '/\[Checks\]/,$p' "$run/settings.ini"
"$run/zelton" --sheet "$out/sheet-check.pdf" --circuit 1 && echo "$out/sheet-check.pdf"
pdftoppm -r 80 -png -singlefile "$out/sheet-check.pdf" "$out/sheet-check"; echo "$out/sheet-check.png"
