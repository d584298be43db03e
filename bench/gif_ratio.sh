#!/usr/bin/env bash
# The GIF encoder against the plain single-threaded reference encoder of the same algorithm, side
# by side on the same frames (30 screen-like 800 x 600 frames, sample factor 10):
#   bench/gif_ratio.sh [runs, default 3] [gifbench options, e.g. --build x86_64 or --threads 1]
# Each run encodes with the plain encoder, then with the encoder (its default worker threads and
# the widest instruction set unless told otherwise), checks that both files are identical and
# prints both speeds and their ratio, with the machine's load beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
[ $# -gt 0 ] && shift
work=$root/build/gif-ratio
frames=$work/frames
if [ ! -f "$frames/frame029.ppm" ]; then
  mkdir -p "$frames"
  python3 "$root/bench/make_frames.py" "$frames" --count 30 --size 800x600 >/dev/null
fi
fps() { sed -n 's/.* fps=\([0-9.]*\).*/\1/p' | tail -n 1; }
for run in $(seq "$runs"); do
  load=$(cut -d' ' -f1 /proc/loadavg)
  plain=$("$root/scripts/gifbench" "$@" --out "$work/plain.gif" --sample 10 --plain "$frames"/*.ppm | fps)
  fast_output=$("$root/scripts/gifbench" "$@" --out "$work/fast.gif" --sample 10 "$frames"/*.ppm)
  fast=$(fps <<<"$fast_output")
  setup=$(grep '^encoder=' <<<"$fast_output" | tail -n 1)
  same=no
  cmp -s "$work/plain.gif" "$work/fast.gif" && same=yes
  echo "run $run (load $load): plain $plain fps, $setup $fast fps, $(awk -v a="$fast" -v b="$plain" 'BEGIN { printf "%.1f", a / b }')x, same bytes: $same"
done
