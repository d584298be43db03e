#!/usr/bin/env bash
# The recorder in the real program: "움짤 만들기" from the tray menu shows the frame and the
# recorder dialog, F5 starts a recording of the known screen (a second of it), F5 again stops
# it, and the save folder then holds an animated GIF named like the still captures, whose first
# frame is the screen under the frame. The screen changes by the pointer, which the recording
# draws. Closing the dialog writes the recorder's keys. Exit from the tray during a second
# recording asks first, and "예" writes that recording before the program ends. A recording's
# temporary file left by a process that ended (a crash) is gone once the program has started.
# $1: Tovrix.exe. Runs inside scripts/test's environment (Wine prefix, display with the pattern).
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/desktop.sh"
work=$(mktemp -d)
program_pid=
pattern_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$pattern_pid" ] && kill "$pattern_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp "$exe" "$work/Tovrix.exe"
mkdir -p "$work/shots"
shots_windows="Z:$(echo "$work/shots" | tr / '\\')"
printf '[Settings]\r\nRegion=0:0:0:0:0:0\r\nSaveType=1\r\nHotKey=2\r\nShutter=0\r\nSaveFolder=%s\r\nPrefix=TX_\r\nPostfix=0\r\n[AniGif]\r\nfps=5\r\nQulity=0\r\nChkCursor=1\r\n' \
  "$shots_windows" > "$work/Tovrix.ini"

program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_ended() { ! program_running; }
gifs() { find "$work/shots" -name 'TX_*.gif'; }
has_gif() { [ -n "$(gifs)" ]; }
window_title() { xdotool getwindowname "$1" 2>/dev/null; }
title_matches() { window_title "$1" | grep -qE "$2"; }

if ! has_visible_window 'Tovrix test pattern'; then
  wine "$(dirname "$exe")/pattern_window.exe" >/dev/null 2>&1 &
  pattern_pid=$!
  wait_for 20 has_visible_window 'Tovrix test pattern' || fail "no pattern window"
  sleep 1
fi

temp_windows=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
temp_unix=$(winepath -u "$temp_windows" 2>/dev/null)
leftover=
if [ -d "$temp_unix" ]; then
  # No process has an id that is not a multiple of 4.
  leftover="$temp_unix/TovrixRec-4294967293-1.tmp"
  echo "frames of a recording that crashed" > "$leftover"
else
  fail "no temporary folder ($temp_windows)"
fi

(cd "$work" && exec wine Tovrix.exe >/dev/null 2>&1) &
program_pid=$!
wait_for 20 has_visible_window '^Tovrix$' || { fail "no settings dialog"; exit 1; }
if [ -n "$leftover" ] && [ -e "$leftover" ]; then
  fail "the ended process's temporary file is still there"
  rm -f "$leftover"
fi
xdotool windowfocus --sync "$(visible_window '^Tovrix$')" && xdotool key Return
wait_for 10 no_visible_window '^Tovrix$' || { fail "the settings dialog did not close"; exit 1; }
wait_for 10 has_visible_window '^Wine System Tray$' || { fail "no tray icon"; exit 1; }
sleep 0.5

# The menu's items from the top: About, -, Settings, -, web capture, "움짤 만들기", ...: the
# recorder's item is the fourth text item, below two separators; its middle lies at 85 of the
# menu's 195 pixels (eight text items, five separators), clear of the start balloon.
open_tray_menu || { fail "no menu on a right click"; exit 1; }
read -r width height mx my <<<"$(program_menu)"
xdotool mousemove $((mx + width / 2)) $((my + height * 85 / 195)) click 1

# The recorder dialog, captioned with its area's size.
recorder=
find_recorder() { recorder=$(xdotool search --onlyvisible --name '^[0-9]+X[0-9]+' 2>/dev/null | head -n 1); [ -n "$recorder" ]; }
if ! wait_for 15 find_recorder; then
  fail "no recorder dialog after \"움짤 만들기\""
  exit 1
fi
size=$(window_title "$recorder")
w=${size%X*} h=${size#*X}
# The frame starts centred on the primary monitor.
left=$(( (1280 - w) / 2 )) top=$(( (800 - h) / 2 ))
echo "recording ${w}x${h}+${left}+${top}"

# The pointer outside the area for the first frame, then moving inside it.
xdotool mousemove 5 790
xdotool windowfocus --sync "$recorder" && xdotool key F5
wait_for 10 title_matches "$recorder" 'Frames\(1\)' || fail "F5 did not start a recording: '$(window_title "$recorder")'"
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((left + 40 * step)) $((top + 30 * step))
  sleep 0.4
done
wait_for 10 title_matches "$recorder" 'Frames\([3-9]' || fail "the moving pointer made no frames: '$(window_title "$recorder")'"
xdotool windowfocus --sync "$recorder" && xdotool key F5
wait_for 30 has_gif || fail "no .gif in the save folder after the stop"
wait_for 10 title_matches "$recorder" "^${w}X${h}\$" || fail "the caption after the stop is '$(window_title "$recorder")'"

gif=$(gifs | head -n 1)
if [ -n "$gif" ]; then
  name=$(basename "$gif")
  [[ "$name" =~ ^TX_\[[0-9]{8}-[0-9]{6}\]\.gif$ ]] || fail "the animation is named '$name'"
  cp "$gif" "$work/got.gif"  # brackets mean something else to ImageMagick
  frames=$(identify "$work/got.gif" 2>/dev/null | wc -l)
  [ "$frames" -ge 3 ] || fail "the animation has $frames frames"
  [ "$(identify -format '%wx%h' "$work/got.gif[0]" 2>/dev/null)" = "${w}x${h}" ] || fail "the first frame is not ${w}x${h}"
  python3 "$here/../support/pattern.py" 1280 800 "$work/pattern.ppm"
  convert "$work/pattern.ppm" -crop "${w}x${h}+$left+$top" +repage "$work/expected.ppm"
  # 256 colours of a picture of thousands: close, not equal.
  error=$(compare -metric RMSE "$work/got.gif[0]" "$work/expected.ppm" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/')
  python3 -c "import sys; sys.exit(0 if float('$error') < 0.05 else 1)" || fail "the first frame is not the screen (RMSE $error)"
  [ -z "$(find "$work/shots" -name '~*')" ] || fail "a temporary file was left in the save folder"
fi

# Escape closes the dialog and writes its keys.
xdotool windowfocus --sync "$recorder" && xdotool key Escape
wait_for 10 no_visible_window '^[0-9]+X[0-9]+' || fail "Escape did not close the recorder"
tr -d '\r' < "$work/Tovrix.ini" | grep -q '^gifWidth=300$' || fail "closing did not write the recorder's keys"

# A second recording, and Exit, the menu's last item, while it runs: the program asks first,
# "예" (the default button) saves the recording, and then the program ends (no copy is left for
# the tests after this one). The frame is an unnamed window too: it must be gone before the
# menu is looked for.
no_program_menu() { ! has_program_menu; }
wait_for 10 no_program_menu || fail "the recording frame stayed after the recorder closed"
gif_count() { gifs | wc -l; }
two_gifs() { [ "$(gif_count)" -ge 2 ]; }
if open_tray_menu; then
  read -r width height mx my <<<"$(program_menu)"
  xdotool mousemove $((mx + width / 2)) $((my + height * 85 / 195)) click 1
fi
if wait_for 15 find_recorder; then
  xdotool mousemove 5 790
  xdotool windowfocus --sync "$recorder" && xdotool key F5
  wait_for 10 title_matches "$recorder" 'Frames\(1\)' || fail "F5 did not start the second recording"
  wait_for 10 no_program_menu
  if open_tray_menu; then
    read -r width height mx my <<<"$(program_menu)"
    xdotool mousemove $((mx + width / 2)) $((my + height - 10)) click 1
  fi
  wait_for 10 has_visible_window '^Tovrix$' || fail "Exit during a recording did not ask"
  program_running || fail "Exit during a recording ended the program at once"
  question=$(visible_window '^Tovrix$')
  [ -n "$question" ] && xdotool windowfocus --sync "$question" && xdotool key Return
  wait_for 30 program_ended || fail "\"예\" did not end the program"
  two_gifs || fail "the recording running at Exit was not saved ($(gif_count) animations)"
else
  fail "the recorder did not open again"
fi
wait_for 15 program_ended || fail "Exit did not end the program"
program_pid=

if [ $failures -eq 0 ]; then echo "recorder program: all checks passed"; fi
exit $((failures > 0))
