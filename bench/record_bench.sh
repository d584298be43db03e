#!/usr/bin/env bash
# The GIF recorder's recording and saving (bench/record_bench.cpp) on a 1280 x 800 virtual display
# of its own, under Wine:
#   bench/record_bench.sh [--build x86_64|i686] [--scene motion|typing] [seconds, default 20] [fps... default 10 30]
#   bench/record_bench.sh [--build x86_64|i686] --grab   (one grab split into its steps)
# Each recording runs for the whole time: keep the runs few on a shared machine. The i686 build
# runs only where the machine runs 32-bit programs. The long runs of the recording budget:
#   bench/record_bench.sh --scene typing 600 30
#   bench/record_bench.sh --scene motion 600 30
# Past the store's memory budget the frames go to a temporary file of the Wine prefix: the script
# checks first that the disk has room for the run (an estimate from measured runs, with a margin).
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
scene=motion
if [ "${1:-}" = --scene ]; then
  scene=${2:?--scene needs motion or typing}
  shift 2
fi
case $scene in
  motion|typing) ;;
  *) echo "bench/record_bench.sh: unknown scene '$scene' (motion or typing)" >&2; exit 2 ;;
esac
if [ "${1:-}" != --grab ]; then
  # The temporary file's size per recorded second at 30 fps, measured with a margin: the motion
  # scene changes almost every pixel of every frame, the typing scene a few letters.
  case $scene in motion) per_second_kb=6000 ;; typing) per_second_kb=200 ;; esac
  need_kb=0
  for fps in ${@:2}; do need_kb=$(( need_kb > ${1:-20} * per_second_kb * fps / 30 ? need_kb : ${1:-20} * per_second_kb * fps / 30 )); done
  [ $# -ge 2 ] || need_kb=$(( ${1:-20} * per_second_kb ))
  probe=${TOVRIX_WINEPREFIX:-$HOME/.cache/tovrix}
  while [ ! -d "$probe" ]; do probe=$(dirname "$probe"); done
  free_kb=$(df -Pk "$probe" | awk 'NR == 2 { print $4 }')
  echo "== the $scene scene needs about $(( need_kb / 1024 )) MB of disk for its temporary file; $(( free_kb / 1024 )) MB are free"
  if [ "$free_kb" -lt $(( need_kb + 1048576 )) ]; then
    echo "bench/record_bench.sh: not enough free disk space (needs $(( need_kb / 1024 )) MB and 1 GB to spare)" >&2
    exit 2
  fi
fi

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
    wine "$TOVRIX_ROOT/build/$build/bin/record_bench.exe" --scene "$scene" "$seconds" "$fps" 2>/dev/null | tr -d '\r'
    echo "   (load after: $(cut -d' ' -f1-3 /proc/loadavg))"
  done
fi
tovrix_cleanup
