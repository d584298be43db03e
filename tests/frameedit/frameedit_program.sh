#!/usr/bin/env bash
# The frame editor in the real program: with "편집후저장" on, a recording of the known screen
# (the pointer outside the frame first, then moving right and down inside it) opens "프레임 편집"
# when it stops. There, from the keyboard, the second frame is deleted through the context menu,
# "거꾸로" reverses the frames, and "이미지 삽입" puts a picture in as the second frame; "저장"
# writes the GIF. Decoded back, it holds as many frames as were recorded, the picture second with
# half a second, the pointer moving back to the left over the recorded frames, and the screen
# without the pointer last.
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
printf '[Settings]\r\nRegion=0:0:0:0:0:0\r\nSaveType=1\r\nHotKey=2\r\nShutter=0\r\nSaveFolder=%s\r\nPrefix=TX_\r\nPostfix=0\r\n[AniGif]\r\nfps=5\r\nQulity=0\r\nChkCursor=1\r\nChkEdit=1\r\n' \
  "$shots_windows" > "$work/Tovrix.ini"

program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_ended() { ! program_running; }
gifs() { find "$work/shots" -name 'TX_*.gif'; }
has_gif() { [ -n "$(gifs)" ]; }
window_title() { xdotool getwindowname "$1" 2>/dev/null; }
title_matches() { window_title "$1" | grep -qE "$2"; }
focus_and_key() {  # window keys...
  local window=$1; shift
  xdotool windowfocus --sync "$window" && xdotool key --delay 150 "$@"
  sleep 0.5
}
keys() { xdotool key --delay 150 "$@"; sleep 0.5; }  # to the open menu, which has the input

if ! has_visible_window 'Tovrix test pattern'; then
  wine "$(dirname "$exe")/pattern_window.exe" >/dev/null 2>&1 &
  pattern_pid=$!
  wait_for 20 has_visible_window 'Tovrix test pattern' || fail "no pattern window"
  sleep 1
fi

(cd "$work" && exec wine Tovrix.exe >/dev/null 2>&1) &
program_pid=$!
wait_for 20 has_visible_window '^Tovrix$' || { fail "no settings dialog"; exit 1; }
xdotool windowfocus --sync "$(visible_window '^Tovrix$')" && xdotool key Return
wait_for 10 no_visible_window '^Tovrix$' || { fail "the settings dialog did not close"; exit 1; }
wait_for 10 tray_shown || { fail "no tray icon"; exit 1; }
sleep 0.5

# "움짤 만들기", the menu's fourth text item (see the recorder's scenario).
open_tray_menu || { fail "no menu on a right click"; exit 1; }
read -r width height mx my <<<"$(program_menu)"
xdotool mousemove $((mx + width / 2)) $((my + height * 85 / 195)) click 1

recorder=
find_recorder() { recorder=$(xdotool search --onlyvisible --name '^[0-9]+X[0-9]+' 2>/dev/null | head -n 1); [ -n "$recorder" ]; }
wait_for 15 find_recorder || { fail "no recorder dialog after \"움짤 만들기\""; exit 1; }
size=$(window_title "$recorder")
w=${size%X*} h=${size#*X}
left=$(( (1280 - w) / 2 )) top=$(( (800 - h) / 2 ))
echo "recording ${w}x${h}+${left}+${top}"

# The picture to insert: the recording's size, so that every placement gives the same frame.
convert -size "${w}x${h}" 'xc:rgb(255,0,255)' "$work/insert.png"
insert_windows="Z:$(echo "$work/insert.png" | tr / '\\')"

xdotool mousemove 5 790
xdotool windowfocus --sync "$recorder" && xdotool key F5
wait_for 10 title_matches "$recorder" 'Frames\(1\)' || fail "F5 did not start a recording: '$(window_title "$recorder")'"
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((left + 40 * step)) $((top + 25 * step))
  sleep 0.5
done
sleep 1
recorded=$(window_title "$recorder" | sed -nE 's/.*Frames\(([0-9]+)\).*/\1/p')
echo "recorded ${recorded:-?} frames"
[ "${recorded:-0}" -ge 4 ] || fail "the moving pointer made too few frames: '$(window_title "$recorder")'"
xdotool windowfocus --sync "$recorder" && xdotool key F5

editor=
find_editor() { editor=$(visible_window '^프레임 편집$'); [ -n "$editor" ]; }
wait_for 15 find_editor || { fail "no frame editor after the stop"; exit 1; }
sleep 1
has_gif && fail "the recording was saved before the editor's \"저장\""

# The strip has the focus with the first frame current: the second frame, then the context
# menu from the keyboard, its second item "선택 프레임삭제".
focus_and_key "$editor" Right
focus_and_key "$editor" shift+F10
wait_for 5 has_program_menu || fail "no context menu on Shift+F10"
keys Down Down Return
# "거꾸로" is the fourth button after the strip in the tab order; back to the strip after it.
focus_and_key "$editor" Tab Tab Tab Tab space
focus_and_key "$editor" shift+Tab shift+Tab shift+Tab shift+Tab
# "이미지 삽입", the fourth item of the context menu: the open-file dialog, then the placement.
focus_and_key "$editor" shift+F10
wait_for 5 has_program_menu || fail "no context menu the second time"
keys Down Down Down Down Return
files=
find_files() { files=$(xdotool search --onlyvisible --name '^(열기|Open)$' 2>/dev/null | head -n 1); [ -n "$files" ]; }
if wait_for 10 find_files; then
  xdotool windowfocus --sync "$files" && xdotool type --delay 20 "$insert_windows" && xdotool key Return
else
  fail "no open-file dialog from \"이미지 삽입\""
fi
query=
find_query() { query=$(visible_window '^이미지 삽입 옵션$'); [ -n "$query" ]; }
if wait_for 10 find_query; then
  # A click on the second button, "가운데 맞춤": the picture has the frames' size, so every
  # placement gives the same frame.
  read -r qx qy qw qh <<<"$(window_geometry "$query")"
  xdotool mousemove $((qx + qw / 2)) $((qy + qh * 40 / 100)) click 1
else
  fail "no placement question after the file"
fi
wait_for 10 no_visible_window '^이미지 삽입 옵션$' || fail "the placement question stayed"
# Enter in the strip presses the default button, "저장".
focus_and_key "$editor" Return
wait_for 30 has_gif || fail "no .gif in the save folder after \"저장\""
wait_for 10 no_visible_window '^프레임 편집$' || fail "the editor stayed open after \"저장\""
wait_for 10 title_matches "$recorder" "^${w}X${h}\$" || fail "the caption after the save is '$(window_title "$recorder")'"

gif=$(gifs | head -n 1)
if [ -n "$gif" ]; then
  cp "$gif" "$work/got.gif"  # brackets mean something else to ImageMagick
  frames=$(identify "$work/got.gif" 2>/dev/null | wc -l)
  [ "$frames" = "${recorded:-0}" ] || fail "the animation has $frames frames, not the ${recorded:-?} recorded"
  [ "$(identify -format '%T' "$work/got.gif[1]" 2>/dev/null)" = 50 ] || fail "the inserted frame is not shown for half a second"
  python3 "$here/../support/pattern.py" 1280 800 "$work/pattern.ppm"
  convert "$work/pattern.ppm" -crop "${w}x${h}+$left+$top" +repage "$work/expected.ppm"
  convert "$work/got.gif" -coalesce "$work/frame_%02d.ppm" 2>/dev/null
  # Each frame against the screen: the inserted picture, the pointer's left edge, or "none".
  python3 - "$work" "$frames" <<'PYTHON' > "$work/pointers.txt" || fail "the frames could not be read"
import sys
work, count = sys.argv[1], int(sys.argv[2])
def read(path):
    with open(path, 'rb') as f:
        data = f.read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace(): at += 1
        start = at
        while not data[at:at + 1].isspace(): at += 1
        fields.append(data[start:at])
    return int(fields[1]), int(fields[2]), data[at + 1:]
w, h, expected = read(work + '/expected.ppm')
for i in range(count):
    fw, fh, got = read('%s/frame_%02d.ppm' % (work, i))
    if (fw, fh) != (w, h):
        print('size %dx%d' % (fw, fh)); continue
    if sum(1 for p in range(0, len(got), 3) if got[p] > 215 and got[p + 1] < 40 and got[p + 2] > 215) > 0.9 * w * h:
        print('picture'); continue
    xs = [p // 3 % w for p in range(0, len(got), 3)
          if max(abs(got[p] - expected[p]), abs(got[p + 1] - expected[p + 1]), abs(got[p + 2] - expected[p + 2])) > 80]
    print(min(xs) if len(xs) > 20 else 'none')
PYTHON
  echo "frames: $(tr '\n' ' ' < "$work/pointers.txt")"
  mapfile -t seen < "$work/pointers.txt"
  [ "${seen[1]:-}" = picture ] || fail "the second frame is not the inserted picture: ${seen[*]}"
  [ "${seen[$((frames - 1))]:-}" = none ] || fail "the last frame is not the screen without the pointer: ${seen[*]}"
  # Between them the pointer moves left: the recording reversed.
  previous=100000
  for i in $(seq 0 $((frames - 2))); do
    [ "$i" = 1 ] && continue
    x=${seen[$i]:-}
    if ! [[ "$x" =~ ^[0-9]+$ ]] || [ "$x" -ge "$previous" ]; then
      fail "the pointer does not move left through the frames: ${seen[*]}"
      break
    fi
    previous=$x
  done
fi

# Escape closes the recorder; Exit ends the program.
xdotool windowfocus --sync "$recorder" && xdotool key Escape
wait_for 10 no_visible_window '^[0-9]+X[0-9]+' || fail "Escape did not close the recorder"
no_program_menu() { ! has_program_menu; }
wait_for 10 no_program_menu || fail "the recording frame stayed after the recorder closed"
if open_tray_menu; then
  read -r width height mx my <<<"$(program_menu)"
  xdotool mousemove $((mx + width / 2)) $((my + height - 10)) click 1
fi
wait_for 15 program_ended || fail "Exit did not end the program"
program_pid=

if [ $failures -eq 0 ]; then echo "frame editor program: all checks passed"; fi
exit $((failures > 0))
