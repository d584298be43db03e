#!/usr/bin/env bash
# The real program in the notification area: started with a settings file beside it, its
# settings dialog accepted with Enter, the capture key sent with xdotool while a Wine window has
# the focus (raw input reaches the program only then under Wine), and the saved picture compared
# with the known screen pixel for pixel. Also: another key configured means F12 does nothing, a
# second start says so and ends, Exit in the tray menu takes the icon away and ends the program,
# a command-line capture still runs beside it, and cancelling the first settings dialog ends it.
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

# The program keeps its settings beside itself: a copy of its own keeps ours apart.
cp "$exe" "$work/Tovrix.exe"
mkdir -p "$work/shots"
shots_windows="Z:$(echo "$work/shots" | tr / '\\')"

# A fixed rectangle clear of where the settings dialog, message boxes and the tray appear.
left=880 top=100 right=1240 bottom=700

write_settings() {  # hotKey
  printf '[Settings]\r\nRegion=2:0:%d:%d:%d:%d\r\nSaveType=2\r\nHotKey=%d\r\nShutter=0\r\nSaveFolder=%s\r\nPrefix=TX_\r\n' \
    $left $top $right $bottom "$1" "$shots_windows" > "$work/Tovrix.ini"
}

program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_ended() { ! program_running; }
shot_count() { find "$work/shots" -name 'TX_*.png' | wc -l; }  # complete pictures, not temporary ones
has_shots() { [ "$(shot_count)" -ge "$1" ]; }

# Starts the program and accepts its settings dialog; false if the icon does not appear.
start_program() {
  (cd "$work" && exec wine Tovrix.exe >/dev/null 2>&1) &
  program_pid=$!
  wait_for 20 has_visible_window '^Tovrix$' || { fail "no settings dialog"; return 1; }
  local dialog; dialog=$(visible_window '^Tovrix$')
  xdotool windowfocus --sync "$dialog" && xdotool key Return
  wait_for 10 no_visible_window '^Tovrix$' || { fail "the settings dialog did not close on Enter"; return 1; }
  wait_for 10 tray_shown || { fail "no tray icon after the settings dialog"; xwininfo -root -tree | grep -E "^ +0x" | grep -v "has no name"; return 1; }
  sleep 0.5  # the screen under the dialog repaints
}

# The key goes to a Wine window with the focus: the known screen's window.
press() {
  local target; target=$(visible_window 'Tovrix test pattern')
  xdotool windowfocus --sync "$target" && xdotool key "$1"
}

# Right click on the icon, then a click on the menu's last item, Exit. (Keys would go to
# whichever Wine window has the X focus, which the hidden frame cannot take.)
exit_from_tray_menu() {
  open_tray_menu || { fail "no menu on a right click"; return 1; }
  read -r width height mx my <<<"$(program_menu)"
  xdotool mousemove $((mx + width / 2)) $((my + height - 10)) click 1
}

# The known screen: the scripts' pattern window, or one of our own when run alone.
if ! has_visible_window 'Tovrix test pattern'; then
  wine "$(dirname "$exe")/pattern_window.exe" >/dev/null 2>&1 &
  pattern_pid=$!
  wait_for 20 has_visible_window 'Tovrix test pattern' || fail "no pattern window"
  sleep 1
fi
python3 "$here/../support/pattern.py" 1280 800 "$work/pattern.ppm"
convert "$work/pattern.ppm" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$work/expected.ppm"

# 1. F12 configured: its release saves the rectangle exactly as the screen shows it.
write_settings 2
if start_program; then
  press F12
  if wait_for 10 has_shots 1; then
    shot=$(find "$work/shots" -name 'TX_\[*\].png' | head -n 1)
    if [ -z "$shot" ]; then
      fail "the picture is not named TX_[date-time].png: $(ls "$work/shots")"
    else
      cp "$shot" "$work/got.png"  # brackets mean something else to ImageMagick
      size=$(identify -format '%wx%h' "$work/got.png" 2>/dev/null)
      [ "$size" = "$((right - left))x$((bottom - top))" ] || fail "the picture is '$size'"
      differing=$(compare -metric AE "$work/got.png" "$work/expected.ppm" null: 2>&1)
      [ "$differing" = 0 ] || fail "$differing pixels differ from the screen"
    fi
  else
    fail "F12 saved nothing"
  fi
  [ -z "$(find "$work/shots" -name '~*')" ] || fail "a temporary file was left in the save folder"

  # 2. A second start says that one is running and ends; the first keeps running.
  (cd "$work" && WINEDEBUG=trace+msgbox exec wine Tovrix.exe >"$work/second.log" 2>&1) &
  second=$!
  wait_for 20 grep -q 'trace:msgbox' "$work/second.log" || fail "the second start showed no message box"
  text=$(grep -m1 'trace:msgbox' "$work/second.log" | sed -E 's/.*L"(.*)".*/\1/' |
         python3 -c 'import re,sys; print(re.sub(r"\\([0-9a-f]{4})", lambda m: chr(int(m.group(1), 16)), sys.stdin.read().strip()))')
  [ "$text" = "이미 실행중입니다." ] || fail "the second start said '$text'"
  box=$(xdotool search --onlyvisible --pid "$second" 2>/dev/null | head -n 1)
  [ -n "$box" ] || box=$(visible_window '^Tovrix$')
  xdotool windowfocus --sync "$box" && xdotool key Return
  for _ in $(seq 100); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$second" 2>/dev/null && { fail "the second instance did not end"; kill "$second"; }
  program_running || fail "the first instance ended with the second"
  tray_shown || fail "the first instance lost its icon"

  # A command-line capture is not refused while the tray program runs.
  (cd "$work" && wine Tovrix.exe -c -x 900 -y 120 -w 100 -h 80 -f "Z:$work/beside.jpg" >/dev/null 2>&1)
  size=$(identify -format '%wx%h' "$work/beside.jpg" 2>/dev/null)
  [ "$size" = 100x80 ] || fail "a command-line capture beside the tray program gave '$size'"

  # 3. Exit in the tray menu: the icon goes and the program ends.
  exit_from_tray_menu
  wait_for 15 program_ended || fail "Exit did not end the program"
  wait_for 10 tray_gone || fail "the tray icon stayed after Exit"
  wait "$program_pid" 2>/dev/null; code=$?
  [ "$code" -eq 0 ] || fail "the program ended with code $code after Exit"
fi
program_ended || kill "$program_pid" 2>/dev/null
rm -f "$work/shots"/*

# 4. F11 configured: F12 does nothing, F11 captures.
write_settings 1
if start_program; then
  press F12
  sleep 2
  [ "$(shot_count)" -eq 0 ] || fail "F12 captured while F11 is the key"
  press F11
  wait_for 10 has_shots 1 || fail "F11 saved nothing"
  exit_from_tray_menu
  wait_for 15 program_ended || fail "Exit did not end the program"
fi
program_ended || kill "$program_pid" 2>/dev/null
wait_for 10 tray_gone

# 5. Cancelling the first settings dialog ends the program without an icon.
(cd "$work" && exec wine Tovrix.exe >/dev/null 2>&1) &
program_pid=$!
if wait_for 20 has_visible_window '^Tovrix$'; then
  xdotool windowfocus --sync "$(visible_window '^Tovrix$')" && xdotool key Escape
  wait_for 15 program_ended || fail "cancelling the settings dialog did not end the program"
  tray_gone || fail "a tray icon appeared although the settings were cancelled"
else
  fail "no settings dialog"
fi
program_pid=

if [ $failures -eq 0 ]; then echo "tray program: all checks passed"; fi
exit $((failures > 0))
