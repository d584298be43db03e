#!/usr/bin/env bash
# The real program's command-line capture on the known screen: the JPEG it writes is compared
# with the screen, and the failures end with a message and a non-zero exit code.
# $1: Tovrix.exe. Runs inside scripts/test's environment (Wine prefix, display with the pattern).
set -uo pipefail
exe=$1
work=$(mktemp -d)
trap 'umount "$work/full" 2>/dev/null; rm -rf "$work"' EXIT
cp "$exe" "$work/Tovrix.exe"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

python3 "$(dirname "$0")/../support/pattern.py" 1280 800 "$work/pattern.ppm"

# Mean absolute error (0..1) between a picture and the pattern cropped at WxH+X+Y.
error_against_pattern() {
  convert "$work/pattern.ppm" -crop "$2" +repage "$work/expected.ppm"
  compare -metric MAE "$1" "$work/expected.ppm" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/'
}

# A rectangle to a named file.
wine "$work/Tovrix.exe" -c -x 100 -y 50 -w 300 -h 200 -f "Z:$work/shot.jpg" 2>"$work/err"
code=$?
[ $code -eq 0 ] || fail "exit code $code for a good capture"
size=$(identify -format '%wx%h' "$work/shot.jpg" 2>/dev/null)
[ "$size" = 300x200 ] || fail "shot.jpg is '$size', not 300x200"
err=$(error_against_pattern "$work/shot.jpg" 300x200+100+50)
awk -v e="$err" 'BEGIN { exit !(e < 0.02) }' || fail "shot.jpg differs from the screen (MAE $err)"
[ ! -s "$work/err" ] || fail "unexpected standard error: $(cat "$work/err")"

# -c alone: the whole union of monitors into temp.jpg beside the program.
wine "$work/Tovrix.exe" -c
size=$(identify -format '%wx%h' "$work/temp.jpg" 2>/dev/null)
[ "$size" = 1280x800 ] || fail "temp.jpg is '$size', not the whole screen"
err=$(error_against_pattern "$work/temp.jpg" 1280x800+0+0)
awk -v e="$err" 'BEGIN { exit !(e < 0.02) }' || fail "temp.jpg differs from the screen (MAE $err)"
rm -f "$work/temp.jpg"

# An unknown option and a missing value are reported and ignored.
wine "$work/Tovrix.exe" -q -c -f "Z:$work/q.jpg" -x 2>"$work/err"
tr -d "\r" <"$work/err" | grep -qx "illegal option -- q" || fail "no 'illegal option' message: $(cat "$work/err")"
tr -d "\r" <"$work/err" | grep -qx "option requires an argument -- x" || fail "no 'requires an argument' message"
[ -s "$work/q.jpg" ] || fail "the capture after a bad option was not written"

# A file that cannot be written is a failure, not a silent success.
wine "$work/Tovrix.exe" -c -f "Z:$work/missing/shot.jpg" 2>"$work/err"
code=$?
[ $code -ne 0 ] || fail "unwritable path reported success"
grep -q 'cannot write' "$work/err" || fail "no message for an unwritable path"
[ ! -e "$work/missing" ] || fail "something was created for an unwritable path"

# An -f value past the path limit is refused before anything is written.
long="Z:$work/$(printf 'a%.0s' $(seq 300)).jpg"
wine "$work/Tovrix.exe" -c -f "$long" 2>"$work/err"
code=$?
[ $code -ne 0 ] || fail "an over-long -f path reported success"
grep -q 'longer than' "$work/err" || fail "no message for an over-long -f path"
[ "$(ls "$work" | grep -c '^aaaa')" -eq 0 ] || fail "a file was written for an over-long -f path"

# -d wins over -c: the editor opens instead, Esc closes it, exit code 0 and no file.
(cd "$work" && exec wine Tovrix.exe -cd -x 100 -y 100 -w 300 -h 200 -f "Z:$work/d.jpg") &
editor_pid=$!
editor_window=
for _ in $(seq 200); do
  editor_window=$(xdotool search --onlyvisible --class 'tovrix' 2>/dev/null | head -n 1)
  [ -n "$editor_window" ] && break
  sleep 0.1
done
[ -n "$editor_window" ] || fail "-cd showed no editor"
xdotool windowfocus --sync "$editor_window" 2>/dev/null
xdotool key Escape
for _ in $(seq 200); do kill -0 $editor_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $editor_pid 2>/dev/null; then
  fail "-cd did not end on Esc"
  kill $editor_pid 2>/dev/null
fi
wait $editor_pid
code=$?
[ $code -eq 0 ] || fail "-cd ended with $code"
[ ! -e "$work/d.jpg" ] && [ ! -e "$work/temp.jpg" ] || fail "-cd wrote a file"

# Arguments the program cannot take end the run with a message naming them, exit code 2 and
# nothing captured; sizes at the platform's limits work, past them they are refused the same way.
# Each row: expected exit code | text expected on standard error (empty: none) | file (in the
# work folder) that must exist afterwards, "-" for none | the arguments.
# An empty argument arrives as the token "" (Wine quotes it): an operand, like the empty token
# that two spaces in a row give.
rm -f "$work"/*.jpg
while IFS='|' read -r want_code want_err want_file args; do
  [ -n "$args" ] || continue
  rm -f "$work/out.jpg" "$work/temp.jpg"
  eval "wine \"\$work/Tovrix.exe\" $args" 2>"$work/err"
  code=$?
  err=$(tr -d '\r' <"$work/err")
  [ "$code" -eq "$want_code" ] || fail "'$args' ended with $code, not $want_code ($err)"
  if [ -n "$want_err" ]; then
    grep -qF -- "$want_err" <<<"$err" || fail "'$args' did not say \"$want_err\": $err"
  else
    [ -z "$err" ] || fail "'$args' said: $err"
  fi
  for f in out.jpg temp.jpg; do
    if [ "$f" = "$want_file" ]; then
      [ -s "$work/$f" ] || fail "'$args' did not write $f"
    else
      [ ! -e "$work/$f" ] || fail "'$args' wrote $f"
    fi
  done
  [ "$(ls "$work" | grep -c '^~')" -eq 0 ] || fail "'$args' left a temporary file"
done <<ROWS
2|unexpected argument '5'|-|-c -x -y 5 -w 10 -h 10 -f Z:\$work/out.jpg
2|option -x needs a number, not '-y'|-|-c -x -y 5 -w 10 -h 10 -f Z:\$work/out.jpg
2|unknown option '--foo'|-|-c --foo -f Z:\$work/out.jpg
2|unexpected argument 'extra'|-|-c -f Z:\$work/out.jpg extra
2|unexpected argument '-f'|-|-c -- -f Z:\$work/out.jpg
2|unexpected argument '""'|-|-c "" -f Z:\$work/out.jpg
2|the rectangle is empty (0 x 800 pixels)|-|-c -x 100 -w 0 -f Z:\$work/out.jpg
2|the rectangle is empty (-50 x 20 pixels)|-|-c -x 100 -y 100 -w -50 -h 20 -f Z:\$work/out.jpg
2|32768 x 10 pixels is larger than the system allows|-|-c -w 32768 -h 10 -f Z:\$work/out.jpg
2|70000 x 10 pixels is larger than the system allows|-|-c -w 70000 -h 10 -f Z:\$work/out.jpg
2|20000 x 20000 pixels is larger than the system allows|-|-c -w 20000 -h 20000 -f Z:\$work/out.jpg
0||out.jpg|-c -w 32767 -h 10 -f Z:\$work/out.jpg
0||temp.jpg|-c --
ROWS

# -c over an existing file replaces it with the new picture...
printf 'old picture' >"$work/keep.jpg"
wine "$work/Tovrix.exe" -c -x 10 -y 10 -w 64 -h 48 -f "Z:$work/keep.jpg" 2>"$work/err"
code=$?
[ $code -eq 0 ] || fail "overwriting an existing file ended with $code"
[ "$(identify -format '%wx%h' "$work/keep.jpg" 2>/dev/null)" = 64x48 ] || fail "the existing file was not replaced"

# ...but on a full disk the existing file is kept as it was and nothing else is left there.
disk="$work/full"
mkdir -p "$disk"
if mount -t tmpfs -o size=192k tmpfs "$disk" 2>/dev/null; then
  printf 'old picture' >"$disk/keep.jpg"
  dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null
  wine "$work/Tovrix.exe" -c -x 0 -y 0 -w 1280 -h 800 -f "Z:$disk/keep.jpg" 2>"$work/err"
  code=$?
  [ $code -eq 1 ] || fail "a write onto a full disk ended with $code, not 1"
  grep -q 'cannot write' "$work/err" || fail "no message for a full disk: $(cat "$work/err")"
  [ "$(cat "$disk/keep.jpg")" = "old picture" ] || fail "the existing file was lost on a full disk"
  [ "$(ls "$disk" | sort | tr '\n' ' ')" = "filler keep.jpg " ] || fail "left on the full disk: $(ls "$disk")"
  umount "$disk"
else
  echo "SKIP: the full-disk case needs a small tmpfs, and mounting is not permitted here"
fi

if [ $failures -eq 0 ]; then echo "command-line capture: all checks passed"; fi
exit $((failures > 0))
