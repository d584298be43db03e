#!/usr/bin/env bash
# The real program's command-line capture on the known screen: the JPEG it writes is compared
# with the screen, and the failures end with a message and a non-zero exit code.
# $1: Tovrix.exe. Runs inside scripts/test's environment (Wine prefix, display with the pattern).
set -uo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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

# -d wins over -c: nothing is written (the editor is a later addition).
wine "$work/Tovrix.exe" -cd -f "Z:$work/d.jpg"
code=$?
[ $code -eq 0 ] || fail "-cd ended with $code"
[ ! -e "$work/d.jpg" ] && [ ! -e "$work/temp.jpg" ] || fail "-cd wrote a file"

if [ $failures -eq 0 ]; then echo "command-line capture: all checks passed"; fi
exit $((failures > 0))
