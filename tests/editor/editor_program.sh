#!/usr/bin/env bash
# The editor in the real program, driven with xdotool on the known screen:
#  1. -d -e over a rectangle: a rectangle dragged with the tool and colour of -k and -i, the
#     finish button, exit code 0, and the drawing on the clipboard read back by another process;
#  2. the tray program with editing after capture on: the capture key opens the editor, a
#     rectangle chosen with the key D is drawn and finished, and the saved file shows it in red;
#  3. the same with Esc: nothing is saved.
# $1: Tovrix.exe. Runs inside scripts/test's environment (Wine prefix, display with the pattern).
set -uo pipefail
exe=$1
bin=$(dirname "$exe")
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

program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_ended() { ! program_running; }

# The program's visible windows of a given size as "x y" of their top-left corners.
window_of_size() {  # width height
  local id
  for id in $(xdotool search --onlyvisible --class 'tovrix' 2>/dev/null); do
    local geometry; geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null)
    local size; size=$(echo "$geometry" | awk '/Geometry/ {print $2}')
    if [ "$size" = "${1}x${2}" ]; then
      echo "$geometry" | awk '/Position/ {print $2}' | sed 's/,/ /'
      return 0
    fi
  done
  return 1
}
has_window_of_size() { [ -n "$(window_of_size "$1" "$2")" ]; }
no_window_of_size() { ! has_window_of_size "$1" "$2"; }

# The pen toolbar: the program's visible window that is not the editor, as "id x y width height".
toolbar_window() {  # editor width, editor height
  local id
  for id in $(xdotool search --onlyvisible --class 'tovrix' 2>/dev/null); do
    local geometry; geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null)
    local size; size=$(echo "$geometry" | awk '/Geometry/ {print $2}')
    [ "$size" = "${1}x${2}" ] && continue
    local position; position=$(echo "$geometry" | awk '/Position/ {print $2}' | sed 's/,/ /')
    echo "$id $position ${size/x/ }"
    return 0
  done
  return 1
}

# Clicks the finish button: the toolbar is 255 x 61 dialog units, the button's middle at (230, 39).
click_finish() {  # editor width, editor height
  local id x y w h
  read -r id x y w h <<<"$(toolbar_window "$1" "$2")"
  [ -n "${w:-}" ] || { fail "no pen toolbar"; return 1; }
  xdotool mousemove $((x + w * 230 / 255)) $((y + h * 39 / 61)) click 1
}

# The colour of pixel (x, y) of a picture file as "r,g,b".

if ! has_visible_window 'Tovrix test pattern'; then
  wine "$bin/pattern_window.exe" >/dev/null 2>&1 &
  pattern_pid=$!
  wait_for 20 has_visible_window 'Tovrix test pattern' || fail "no pattern window"
  sleep 1
fi

# 1. -d -e: a rectangle in orange (-k 2 -i 5), finished with the toolbar's button.
(cd "$work" && exec wine Tovrix.exe -d -e -k 2 -i 5 -x 300 -y 250 -w 400 -h 300) &
program_pid=$!
if wait_for 20 has_window_of_size 400 300; then
  read -r ex ey <<<"$(window_of_size 400 300)"
  [ "$ex $ey" = "300 250" ] || fail "the editor is at $ex,$ey, not over the rectangle"
  xdotool mousemove 350 300 mousedown 1 mousemove 420 350 mousemove 500 400 mousemove 550 450 mouseup 1
  sleep 0.3
  click_finish 400 300
  wait_for 20 program_ended || fail "-d did not end after finish"
  wait "$program_pid"; code=$?; program_pid=
  [ $code -eq 0 ] || fail "-d ended with $code"
  if wine "$bin/clipboard_dump.exe" "Z:$work/clip.bmp" >/dev/null 2>&1; then
    size=$(identify -format '%wx%h' "$work/clip.bmp" 2>/dev/null)
    [ "$size" = 400x300 ] || fail "the clipboard holds a $size picture"
    # The rectangle's left side at x = 50 of the picture, in orange; its inside as the screen.
    [ "$(pixel "$work/clip.bmp" 50 100)" = "243,138,10" ] || fail "the rectangle's side is $(pixel "$work/clip.bmp" 50 100)"
    [ "$(pixel "$work/clip.bmp" 150 100)" = "$((450 % 256)),$((350 % 256)),$(( (450 / 256) * 40 + (350 / 256) * 10 ))" ] ||
      fail "inside the rectangle the clipboard shows $(pixel "$work/clip.bmp" 150 100)"
  else
    fail "nothing on the clipboard after -d"
  fi
else
  fail "-d -e showed no editor"
fi
[ -n "$program_pid" ] && { kill "$program_pid" 2>/dev/null; program_pid=; }

# 2. and 3.: the tray program with editing after capture.
left=700 top=300 right=1100 bottom=600
printf '[Settings]\r\nRegion=2:0:%d:%d:%d:%d\r\nSaveType=2\r\nHotKey=2\r\nShutter=0\r\nSaveFolder=%s\r\nPrefix=TX_\r\nCheckEdit=1\r\n' \
  $left $top $right $bottom "$shots_windows" > "$work/Tovrix.ini"
shot_count() { find "$work/shots" -name 'TX_*.png' | wc -l; }
has_shots() { [ "$(shot_count)" -ge "$1" ]; }
press() {
  local target; target=$(visible_window 'Tovrix test pattern')
  xdotool windowfocus --sync "$target" && xdotool key "$1"
}
editor_focus_key() {
  local id
  for id in $(xdotool search --onlyvisible --class 'tovrix' 2>/dev/null); do
    [ "$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}')" = 400x300 ] || continue
    xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool key "$1"
    return 0
  done
  return 1
}

(cd "$work" && exec wine Tovrix.exe >/dev/null 2>&1) &
program_pid=$!
if wait_for 20 has_visible_window '^Tovrix$'; then
  xdotool windowfocus --sync "$(visible_window '^Tovrix$')" && xdotool key Return
  wait_for 10 no_visible_window '^Tovrix$' || fail "the settings dialog did not close"
  sleep 0.5
  press F12
  if wait_for 10 has_window_of_size 400 300; then
    editor_focus_key d
    xdotool mousemove 760 350 mousedown 1 mousemove 850 420 mousemove 950 500 mouseup 1
    sleep 0.3
    click_finish 400 300
    if wait_for 10 has_shots 1; then
      shot=$(find "$work/shots" -name 'TX_*.png' | head -n 1)
      cp "$shot" "$work/got.png"
      [ "$(pixel "$work/got.png" 60 100)" = "218,14,14" ] || fail "the saved rectangle's side is $(pixel "$work/got.png" 60 100)"
      [ "$(pixel "$work/got.png" 150 100)" = "$((850 % 256)),$((400 % 256)),$(( (850 / 256) * 40 + (400 / 256) * 10 ))" ] ||
        fail "inside the rectangle the file shows $(pixel "$work/got.png" 150 100)"
    else
      fail "finish in the editor saved nothing"
    fi
    # 3. Esc abandons the capture.
    sleep 0.5
    press F12
    if wait_for 10 has_window_of_size 400 300; then
      editor_focus_key Escape
      wait_for 10 no_window_of_size 400 300 || fail "Esc did not close the editor"
      [ "$(shot_count)" -eq 1 ] || fail "Esc in the editor saved a picture"
    else
      fail "the second capture opened no editor"
    fi
  else
    fail "the capture key opened no editor"
  fi
else
  fail "no settings dialog"
fi

if [ $failures -eq 0 ]; then echo "editor program: all checks passed"; fi
exit $((failures > 0))
