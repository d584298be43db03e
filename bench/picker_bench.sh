#!/usr/bin/env bash
# The on-screen pickers' timings (bench/picker_bench.cpp) on a 1280 x 800 one-monitor session and
# on a 2560 x 800 two-monitor session, each on a virtual display of its own showing the known
# screen:
#   bench/picker_bench.sh [runs, default 10]
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
cd "$TOVRIX_ROOT"
runs=${1:-10}

tovrix_setup
tovrix_build x86_64 >/dev/null
bin=$TOVRIX_ROOT/build/x86_64/bin
layout_lib=$TOVRIX_ROOT/build/monitor-layout
mkdir -p "$layout_lib"
cc -shared -fPIC -O2 -o "$layout_lib/libXinerama.so.1" tests/support/monitor_layout.c

session() {  # screen, monitors (empty: one)
  (
    if [ -n "$2" ]; then
      export TOVRIX_MONITORS=$2 TOVRIX_XVFB_ARGS="-extension RANDR"
      export LD_LIBRARY_PATH=$layout_lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
    fi
    TOVRIX_SCREEN=$1x24 tovrix_display own
    tovrix_wineserver
    wine "$bin/pattern_window.exe" >/dev/null 2>&1 &
    for _ in $(seq 100); do
      xdotool search --name 'Tovrix test pattern' >/dev/null 2>&1 && break
      sleep 0.1
    done
    sleep 1
    echo "== $1${2:+, monitors $2}"
    wine "$bin/picker_bench.exe" "$runs" 2>/dev/null | tr -d '\r'
    tovrix_cleanup
  )
}

session 1280x800 ""
session 2560x800 1280x800+0+0,1280x800+1280+0
