#!/usr/bin/env bash
# Time from the release of the capture key to the saved file being complete, with the real
# program under Wine on a 1280 x 800 virtual display, for PNG and for JPEG (quality 80), beside
# ImageMagick's `import -window root` writing the same format from the same screen.
#   bench/capture_bench.sh [--build x86_64|i686] [captures per format, default 10]
# --build picks the Windows build (default x86_64; i686 is the release build and runs only where
# the machine runs 32-bit programs); TOVRIX_EXE picks any other copy of the program.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
cd "$TOVRIX_ROOT"
target=x86_64
runs=10
while [ $# -gt 0 ]; do
  case $1 in
    --build) target=${2:?--build needs x86_64 or i686}; shift 2 ;;
    --build=*) target=${1#--build=}; shift ;;
    *) runs=$1; shift ;;
  esac
done
case $target in
  x86_64|i686) ;;
  *) echo "capture_bench: unknown build '$target' (x86_64 or i686)" >&2; exit 2 ;;
esac

tovrix_setup
if [ "$target" = i686 ] && reason=$(i686_unavailable); then
  echo "capture_bench: the i686 build cannot run here: $reason" >&2
  exit 2
fi
if [ -z "${TOVRIX_EXE:-}" ]; then
  # The known screen's window is built with the tests.
  tovrix_build "$target" -DTOVRIX_TESTS=ON >/dev/null
  TOVRIX_EXE=$TOVRIX_ROOT/build/$target/bin/Tovrix.exe
fi
echo "build: $TOVRIX_EXE"
bin=$(dirname "$TOVRIX_EXE")
TOVRIX_SCREEN=1280x800x24 tovrix_display own
tovrix_wineserver

work=$(mktemp -d)
program_pid=
pattern_pid=
finish() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$pattern_pid" ] && kill "$pattern_pid" 2>/dev/null || true
  rm -rf "$work"
  tovrix_cleanup
}
trap finish EXIT

wait_for() {
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}
visible() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)" ]; }
hidden() { ! visible "$1"; }

# A screen with something to compress: the tests' known picture in a window of its own.
wine "$bin/pattern_window.exe" >/dev/null 2>&1 &
pattern_pid=$!
wait_for 30 visible 'Tovrix test pattern'
sleep 1
pattern=$(xdotool search --onlyvisible --name 'Tovrix test pattern' | head -n 1)

cp "$TOVRIX_EXE" "$work/Tovrix.exe"
mkdir -p "$work/shots"
folder="Z:$(echo "$work/shots" | tr / '\\')"

# Starts the program for one format (SaveType 2 PNG, 1 JPEG; quality index 2 is 80).
start_program() {
  printf '[Settings]\r\nRegion=0\r\nSaveType=%d\r\nJpgQuality=2\r\nHotKey=2\r\nShutter=0\r\nSaveFolder=%s\r\nPrefix=B\r\n' \
    "$1" "$folder" > "$work/Tovrix.ini"
  (cd "$work" && exec wine Tovrix.exe >/dev/null 2>&1) &
  program_pid=$!
  wait_for 30 visible '^Tovrix$'
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Tovrix$' | head -n 1)"
  xdotool key Return
  wait_for 10 hidden '^Tovrix$'
  sleep 2  # the tray icon and its balloon settle
}

stop_program() {
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=
  sleep 1
}

# Presses F12 on the pattern window and times from the release to the next complete file (the
# program writes under a temporary name and renames a finished file). Milliseconds, one a line.
time_captures() {  # extension
  python3 - "$work/shots" "$1" "$runs" "$pattern" <<'PY'
import os, subprocess, sys, time
folder, extension, runs, window = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
def done():
    return {n for n in os.listdir(folder) if n.endswith(extension) and not n.startswith('~')}
subprocess.run(['xdotool', 'windowfocus', '--sync', window], check=True)
for _ in range(runs):
    before = done()
    subprocess.run(['xdotool', 'keydown', 'F12'], check=True)
    time.sleep(0.05)
    start = time.perf_counter()
    subprocess.run(['xdotool', 'keyup', 'F12'], check=True)
    while not (done() - before):
        if time.perf_counter() - start > 10:
            sys.exit('no file within 10 s')
        time.sleep(0.001)
    print('%.1f' % ((time.perf_counter() - start) * 1000))
    time.sleep(1.1)  # a new second, so that names do not collide and need the _n search
PY
}

time_import() {  # extension, extra options
  local extension=$1; shift
  for i in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    import -window root "$@" "$work/import$i.$extension"
    end=$(date +%s%N)
    echo "$(( (end - start) / 100000 ))" | sed -E 's/(.)$/.\1/'
  done
}

summary() {  # label, values on standard input
  sort -n | awk -v label="$1" '{ v[NR] = $1; s += $1 } END {
    printf "  %-28s median %7.1f ms   mean %7.1f ms   min %7.1f ms   max %7.1f ms   (%d runs)\n",
      label, (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), s / NR, v[1], v[NR], NR }'
}

echo "capture of the whole 1280 x 800 screen, key release to complete file, $runs runs each"
for format in png jpg; do
  if [ $format = png ]; then start_program 2; else start_program 1; fi
  tovrix=$(time_captures ".$format")
  stop_program
  if [ $format = png ]; then imagick=$(time_import png); else imagick=$(time_import jpg -quality 80); fi
  echo "$format:"
  summary "Tovrix (F12 release)" <<<"$tovrix"
  summary "import -window root" <<<"$imagick"
done
