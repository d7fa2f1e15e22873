#!/usr/bin/env bash
# The real program on the X server, driven only by synthetic mouse clicks and key presses:
# Load Hog of the sample archive, N, Import Cob/Scn of dwarf.cob, Export Oof, Load Oof of the
# export, Exit. After each step the program must still run and draw a model.
# Usage: real_program_journey.sh MESHLOOK MAKE_SAMPLES TESTDATA_FOLDER
set -euo pipefail
meshlook=$(realpath "$1") make_samples=$(realpath "$2") dwarf=$3/cob/dwarf.cob
[ -f "$dwarf" ] || { echo "no shared test data at $3: skipped"; exit 77; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
"$make_samples" "$work" >/dev/null
cp "$dwarf" "$work/"
cd "$work"
env -u MESHLOOK_SCRIPT QT_QPA_PLATFORM=xcb "$meshlook" 2>errors.txt &
pid=$!

fail() { echo "$1"; cat errors.txt; exit 1; }
alive() { kill -0 "$pid" 2>/dev/null || fail "meshlook ended after: $1"; }

for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name '^Meshlook$' | head -1) && [ -n "$window" ] && break
  alive "start"
  sleep 0.1
done
# No window manager here: the window is where it was put, and focus is given as one would.
xdotool windowfocus --sync "$window"
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT

# Fails unless at least 5% of the window's middle is lit.
expect_model() {
  alive "$1"
  import -window root -crop 200x150+$((X + WIDTH / 2 - 100))+$((Y + HEIGHT / 2 - 75)) +repage shot.png
  share=$(convert shot.png -fill white +opaque black -format '%[fx:mean]' info:)
  awk "BEGIN { exit !($share >= 0.05) }" || fail "no model drawn after: $1 (lit share $share)"
  echo "ok: $1 (lit share $share)"
}

# File menu by mouse, then the row by arrow keys (Import, Export, Load Oof, Load Hog, Exit), then
# a name typed into the file dialog that opens, if given.
file_menu() {
  xdotool mousemove "$((X + 15))" "$((Y + 10))" click 1
  sleep 0.5
  xdotool key --delay 100 $1
  sleep 1
  [ -z "${2:-}" ] || { xdotool type --delay 30 "$2"; sleep 0.3; xdotool key Return; sleep 1.5; }
}

file_menu "Down Down Down Down Return" demo.hog
expect_model "Load Hog demo.hog"
xdotool key n
sleep 0.5
expect_model "key N"
file_menu "Down Right Return" dwarf.cob
expect_model "Import Cob/Scn dwarf.cob"
file_menu "Down Down Right Return" dwarf.oof
alive "Export Oof dwarf.oof"
[ -s dwarf.oof ] || fail "the export wrote nothing"
file_menu "Down Down Down Return" dwarf.oof
expect_model "Load Oof dwarf.oof"
file_menu "Down Down Down Down Down Return"
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "Exit ended with status $status"
echo "ok: Exit"
