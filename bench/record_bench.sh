#!/usr/bin/env bash
# The GIF recorder's recording and saving (bench/record_bench.cpp) on a 1280 x 800 virtual display
# of its own, under Wine:
#   bench/record_bench.sh [--build x86_64|i686] [seconds, default 20] [fps... default 10 30]
#   bench/record_bench.sh [--build x86_64|i686] --grab   (one grab split into its steps)
# Each recording runs for the whole time: keep the runs few on a shared machine. The i686 build
# runs only where the machine runs 32-bit programs.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
cd "$TOVRIX_ROOT"
build=x86_64
if [ "${1:-}" = --build ]; then
  build=${2:?--build needs x86_64 or i686}
  shift 2
fi
case $build in
  x86_64|i686) ;;
  *) echo "bench/record_bench.sh: unknown build '$build' (x86_64 or i686)" >&2; exit 2 ;;
esac

tovrix_setup
if [ "$build" = i686 ] && reason=$(i686_unavailable); then
  echo "bench/record_bench.sh: the i686 build cannot run here: $reason" >&2
  exit 2
fi
TOVRIX_BUILD_TARGETS=record_bench tovrix_build "$build" >/dev/null
TOVRIX_SCREEN=1280x800x24 tovrix_display own
tovrix_wineserver
echo "== $build, 1280x800, load: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) processors"
if [ "${1:-}" = --grab ]; then
  wine "$TOVRIX_ROOT/build/$build/bin/record_bench.exe" --grab 2>/dev/null | tr -d '\r'
else
  # One process per frame rate, so that memory freed by one run does not hide the next one's.
  seconds=${1:-20}
  [ $# -gt 0 ] && shift
  for fps in ${@:-10 30}; do
    wine "$TOVRIX_ROOT/build/$build/bin/record_bench.exe" "$seconds" "$fps" 2>/dev/null | tr -d '\r'
    echo "   (load after: $(cut -d' ' -f1-3 /proc/loadavg))"
  done
fi
tovrix_cleanup
