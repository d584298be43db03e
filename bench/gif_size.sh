#!/usr/bin/env bash
# File size, picture quality and encoding time of screen recordings, side by side: the encoder as
# described (every frame whole with its own 256 colours), its small-file mode, and ffmpeg's
# palettegen + paletteuse with their default options.
#   bench/gif_size.sh [--seed S] [--runs N] [--sample N] [--scenes "typing drag ..."] [--build x86_64|i686]
# Four sessions of 100 frames of 800 x 600 at 10 fps (bench/make_session.py, made once per seed
# under build/gif-size): typing over a gradient wallpaper with the pointer wandering, a window
# dragged across a photo-like background, a page of text scrolling 20 pixels a frame, a menu
# opening and closing over a desktop. Other seeds make other sessions of the same kinds.
#
# PSNR is that of the mean squared error over every frame of the session, each decoded file shown
# at 10 fps by ffmpeg (not by our code) against the source frames. Times are the median of the
# runs: for our encoders the encoding of frames already read (gifbench, its default threads),
# for ffmpeg its whole command, reading the frames included. ffmpeg is installed from the
# distribution's packages when missing. The last columns say whether the small-file mode meets
# its goals on the scene: no larger than ffmpeg's file, PSNR at least the described mode's, and
# encoding at least as fast as it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seed=1
runs=3
sample=10
scenes="typing drag scroll menu"
bench_args=()
while [ $# -gt 0 ]; do
  case $1 in
    --seed) seed=${2:?--seed needs a number}; shift 2 ;;
    --runs) runs=${2:?--runs needs a number}; shift 2 ;;
    --sample) sample=${2:?--sample needs a number}; shift 2 ;;
    --scenes) scenes=${2:?--scenes needs names}; shift 2 ;;
    --build) bench_args+=(--build "${2:?--build needs x86_64 or i686}"); shift 2 ;;
    *) echo "bench/gif_size.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

if ! command -v ffmpeg >/dev/null; then
  echo "== installing ffmpeg from the distribution's packages"
  sudo=
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq ffmpeg >/dev/null
fi

work=$root/build/gif-size/seed-$seed
mkdir -p "$work"
stamp=$(sha1sum "$root/bench/make_session.py" | cut -c1-12)
for scene in $scenes; do
  dir=$work/$scene
  if [ "$(cat "$dir/.made" 2>/dev/null)" != "$stamp" ]; then
    echo "== making the $scene session (seed $seed)"
    rm -rf "$dir"
    python3 "$root/bench/make_session.py" "$scene" "$dir" --count 100 --size 800x600 --seed "$seed"
    echo "$stamp" >"$dir/.made"
  fi
done

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds_of() { sed -n 's/.* seconds=\([0-9.]*\).*/\1/p' | tail -n 1; }

# The frames shown at 10 fps (the last one held) against the source frames.
psnr() {  # file frames-dir
  ffmpeg -v error -i "$1" -vf fps=10 -pix_fmt rgb24 -f rawvideo - |
    ffmpeg -v info -f rawvideo -pix_fmt rgb24 -s 800x600 -r 10 -i - -framerate 10 -i "$2/frame%03d.ppm" \
      -lavfi "[0:v]tpad=stop_mode=clone:stop=-1[a];[1:v]format=rgb24[b];[a][b]psnr=shortest=1" -f null - 2>&1 |
    sed -n 's/.*PSNR .* average:\([0-9.inf]*\).*/\1/p' | tail -n 1
}

encode() {  # writer frames-dir out
  case $1 in
    described) "$root/scripts/gifbench" "${bench_args[@]}" --out "$3" --sample "$sample" --loop 0 "$2"/*.ppm | seconds_of ;;
    small) "$root/scripts/gifbench" "${bench_args[@]}" --out "$3" --sample "$sample" --loop 0 --small "$2"/*.ppm | seconds_of ;;
    ffmpeg)
      local start end
      start=$(date +%s.%N)
      ffmpeg -v error -y -framerate 10 -i "$2/frame%03d.ppm" -vf "split[a][b];[a]palettegen[p];[b][p]paletteuse" "$3"
      end=$(date +%s.%N)
      awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }' ;;
  esac
}

echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg); sample factor $sample; $runs runs each"
printf '%-7s %-10s %10s %9s %9s\n' scene writer bytes "PSNR dB" seconds
failed=0
for scene in $scenes; do
  dir=$work/$scene
  declare -A bytes=() quality=() time=()
  for run in $(seq "$runs"); do
    for writer in described small ffmpeg; do
      encode "$writer" "$dir" "$work/$scene-$writer.gif" >>"$work/$scene-$writer.times.$$"
    done
  done
  for writer in described small ffmpeg; do
    out=$work/$scene-$writer.gif
    bytes[$writer]=$(stat -c %s "$out")
    quality[$writer]=$(psnr "$out" "$dir")
    time[$writer]=$(median <"$work/$scene-$writer.times.$$")
    rm -f "$work/$scene-$writer.times.$$"
    printf '%-7s %-10s %10s %9.2f %9.3f\n' "$scene" "$writer" "${bytes[$writer]}" "${quality[$writer]}" "${time[$writer]}"
  done
  verdict=$(awk -v sb="${bytes[small]}" -v fb="${bytes[ffmpeg]}" -v sq="${quality[small]}" -v dq="${quality[described]}" \
    -v st="${time[small]}" -v dt="${time[described]}" 'BEGIN {
      printf "%s, %s, %s", (sb <= fb ? "smaller than ffmpeg" : "LARGER THAN FFMPEG"),
        (sq >= dq ? "PSNR kept" : "PSNR BELOW THE DESCRIBED MODE"), (st <= dt ? "faster" : "SLOWER")
      exit !(sb <= fb && sq >= dq && st <= dt) }') || failed=1
  echo "        small-file mode: $verdict"
  unset bytes quality time
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $failed
