#!/usr/bin/env bash
# The release build (i686) beside its 64-bit twin: the GIF encoder's speed with every vector path
# this processor offers, and the time from the capture key's release to the saved file.
#   bench/release_bench.sh [captures per format, default 10]
# Each encoder figure is the best of three runs of scripts/gifbench over 30 screen-like 800 x 600
# frames at sample factor 10 (with the worker threads), with the processor time of each stage per
# frame (--split); the key-to-file times come from bench/capture_bench.sh. The load average is
# printed with every figure: the machine may be shared. The i686 rows need a machine that runs
# 32-bit programs; elsewhere they are left out with the reason.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
cd "$TOVRIX_ROOT"
captures=${1:-10}
tovrix_setup
builds=(x86_64)
if reason=$(i686_unavailable); then
  echo "the i686 rows are left out: $reason"
else
  builds+=(i686)
fi
for b in "${builds[@]}"; do TOVRIX_BUILD_TARGETS="tovrix gifbench" tovrix_build "$b" >/dev/null; done

frames=$TOVRIX_ROOT/build/gif-ratio/frames
if [ ! -f "$frames/frame029.ppm" ]; then
  mkdir -p "$frames"
  python3 bench/make_frames.py "$frames" --count 30 --size 800x600 >/dev/null
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "processor: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores"
printf '%-7s %-7s %9s %9s %9s %9s  %s\n' build isa fps learn-ms map-ms lzw-ms load
for b in "${builds[@]}"; do
  for isa in scalar sse2 avx2 avx512; do
    best=0
    for _ in 1 2 3; do
      line=$(scripts/gifbench --build "$b" --isa "$isa" --sample 10 --out "$out/$b-$isa.gif" "$frames"/*.ppm 2>&1 | tail -n 1)
      fps=$(sed -n 's/.* fps=\([0-9.]*\).*/\1/p' <<<"$line")
      [ -n "$fps" ] || break
      best=$(awk -v a="$fps" -v b="$best" 'BEGIN { print (a > b) ? a : b }')
    done
    if [ "$best" = 0 ]; then
      printf '%-7s %-7s %9s\n' "$b" "$isa" "n/a"  # not offered by this processor
      continue
    fi
    split=$(scripts/gifbench --build "$b" --isa "$isa" --sample 10 --split --out "$out/split.gif" "$frames"/*.ppm 2>&1 |
            sed -n 's/.*learn=\([0-9.]*\) map=\([0-9.]*\) lzw=\([0-9.]*\).*/\1 \2 \3/p' | tail -n 1)
    read -r learn map lzw <<<"$split"
    printf '%-7s %-7s %9s %9s %9s %9s  %s\n' "$b" "$isa" "$best" "$learn" "$map" "$lzw" "$(cut -d' ' -f1 /proc/loadavg)"
  done
done
# Every build and instruction set writes the same file.
first= files=0 different=0
for file in "$out"/*-*.gif; do
  files=$((files + 1))
  [ -n "$first" ] || { first=$file; continue; }
  if ! cmp -s "$first" "$file"; then
    echo "DIFFERENT: $(basename "$file") is not $(basename "$first")"
    different=$((different + 1))
  fi
done
[ "$different" != 0 ] || echo "the $files files of every build and instruction set are identical"

for b in "${builds[@]}"; do
  echo "== key release to saved file, $b build"
  bench/capture_bench.sh --build "$b" "$captures"
done
