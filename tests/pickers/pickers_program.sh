#!/usr/bin/env bash
# The real program with the areas chosen at capture time, driven as a user would with xdotool:
# area 4 (serial names): the capture key, a drag over the known screen, and the saved PNG equals
# that part of the screen; Esc abandons without a file; area 5: the capture key, a click on a
# window of known place and colour, and the saved PNG is that window.
# $1: Tovrix.exe. Runs inside scripts/test's environment (Wine prefix, display with the pattern).
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/desktop.sh"
bin=$(dirname "$exe")
work=$(mktemp -d)
program_pid=
pattern_pid=
known_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$known_pid" ] && kill "$known_pid" 2>/dev/null
  [ -n "$pattern_pid" ] && kill "$pattern_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp "$exe" "$work/Tovrix.exe"
mkdir -p "$work/shots"
shots_windows="Z:$(echo "$work/shots" | tr / '\\')"

write_settings() {  # area
  printf '[Settings]\r\nRegion=%d\r\nSaveType=2\r\nHotKey=2\r\nShutter=0\r\nSaveFolder=%s\r\nPrefix=PK_\r\nPostfix=1\r\n' \
    "$1" "$shots_windows" > "$work/Tovrix.ini"
}

program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
shots() { find "$work/shots" -name 'PK_*.png' | sort; }
shot_count() { shots | wc -l; }
has_shots() { [ "$(shot_count)" -ge "$1" ]; }

# The picker: an unnamed window of the program as large as the screen, shown.
screen_size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
picker_shown() {
  local id
  for id in $(xwininfo -root -tree | awk '/\(has no name\): \("tovrix.exe"/ {print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable || continue
    xwininfo -id "$id" | grep -q -- "-geometry ${screen_size}+0+0" && return 0
  done
  return 1
}
picker_gone() { ! picker_shown; }
picker_window() {
  local id
  for id in $(xwininfo -root -tree | awk '/\(has no name\): \("tovrix.exe"/ {print $1}'); do
    xwininfo -id "$id" | grep -q -- "-geometry ${screen_size}+0+0" && { echo "$id"; return 0; }
  done
  return 1
}
# Keys go to the window with the X focus; with no window manager on the display nothing moves the
# focus to the picker that came to the foreground, so it is given the focus as a desktop would.
picker_key() {
  xdotool windowfocus --sync "$(picker_window)" 2>/dev/null
  xdotool key "$1"
}

start_program() {
  (cd "$work" && exec wine Tovrix.exe >/dev/null 2>&1) &
  program_pid=$!
  wait_for 20 has_visible_window '^Tovrix$' || { fail "no settings dialog"; return 1; }
  xdotool windowfocus --sync "$(visible_window '^Tovrix$')" && xdotool key Return
  wait_for 10 no_visible_window '^Tovrix$' || { fail "the settings dialog did not close"; return 1; }
  wait_for 10 has_visible_window '^Wine System Tray$' || { fail "no tray icon"; return 1; }
  sleep 0.5  # the screen under the dialog repaints
}
stop_program() {
  kill "$program_pid" 2>/dev/null
  wait "$program_pid" 2>/dev/null
  program_pid=
}

# The capture key goes to a Wine window with the focus (raw input needs one under Wine).
press_capture_key() {
  xdotool windowfocus --sync "$(visible_window 'Tovrix test pattern')" && xdotool key F12
  wait_for 10 picker_shown || { fail "no picker after the capture key"; return 1; }
}

same_pixels() {  # picture expected: true when every pixel is equal
  local differing
  differing=$(compare -metric AE "$1" "$2" null: 2>&1)
  [ "$differing" = 0 ] || { echo "$differing pixels differ"; return 1; }
}

if ! has_visible_window 'Tovrix test pattern'; then
  wine "$bin/pattern_window.exe" >/dev/null 2>&1 &
  pattern_pid=$!
  wait_for 20 has_visible_window 'Tovrix test pattern' || fail "no pattern window"
  sleep 1
fi
python3 "$here/../support/pattern.py" 1280 800 "$work/pattern.ppm"

# 1. Area 4: a drag from lower right to upper left saves exactly the rectangle between.
write_settings 4
if start_program; then
  if press_capture_key; then
    xdotool mousemove 760 530 mousemove 740 510 mousedown 1 mousemove 600 400 mousemove 440 290 mouseup 1
    if wait_for 10 has_shots 1; then
      cp "$(shots | head -n 1)" "$work/region.png"
      convert "$work/pattern.ppm" -crop 300x220+440+290 +repage "$work/region-expected.ppm"
      size=$(identify -format '%wx%h' "$work/region.png" 2>/dev/null)
      [ "$size" = 300x220 ] || fail "the dragged region was saved as '$size'"
      same_pixels "$work/region.png" "$work/region-expected.ppm" || fail "the saved region is not the screen"
      [[ "$(basename "$(shots | head -n 1)")" =~ ^PK_[0-9]+\.png$ ]] || fail "not a serial name: $(shots)"
    else
      fail "the drag saved nothing"
    fi
  fi
  wait_for 10 picker_gone || fail "the picker stayed after the drag"

  # 2. Esc abandons: no file, and the next key release opens the picker again.
  if press_capture_key; then
    xdotool mousemove 500 500
    picker_key Escape
    wait_for 10 picker_gone || fail "Esc did not close the picker"
    sleep 1
    [ "$(shot_count)" -eq 1 ] || fail "Esc saved a picture"
    if press_capture_key; then
      picker_key Escape
      wait_for 10 picker_gone || fail "the second picker did not close on Esc"
    fi
  fi
  stop_program
fi

# 3. Area 5: a click on a window of known place and colour saves that window.
write_settings 5
wine "$bin/known_window.exe" 820 430 300 200 30 160 90 >/dev/null 2>&1 &
known_pid=$!
wait_for 20 has_visible_window 'Tovrix known window' || fail "no known window"
if start_program; then
  if press_capture_key; then
    xdotool mousemove 900 500 mousemove 910 520 click 1
    if wait_for 10 has_shots 2; then
      cp "$(shots | tail -n 1)" "$work/window.png"
      convert -size 300x200 'xc:rgb(30,160,90)' "$work/window-expected.ppm"
      size=$(identify -format '%wx%h' "$work/window.png" 2>/dev/null)
      [ "$size" = 300x200 ] || fail "the picked window was saved as '$size'"
      same_pixels "$work/window.png" "$work/window-expected.ppm" || fail "the saved window is not the window"
    else
      fail "the click saved nothing"
    fi
  fi
  stop_program
fi

if [ $failures -eq 0 ]; then echo "pickers program: all checks passed"; fi
exit $((failures > 0))
