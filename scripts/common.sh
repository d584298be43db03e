# Shared by scripts/run, scripts/test and scripts/wine: the machine set-up, the builds, a
# virtual display when there is none, and a persistent Wine server.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/setup"

# Configures (once, and again when a -DNAME=VALUE given differs from the cache) and builds one
# target: x86_64 or i686. TOVRIX_BUILD_TARGETS (names of CMake targets) builds only those.
tovrix_build() {
  local arch=$1; shift
  local dir=$TOVRIX_ROOT/build/$arch configure=0 option
  [ -f "$dir/build.ninja" ] || configure=1
  for option in "$@"; do
    case $option in
      -D*=*)
        local name=${option#-D}; name=${name%%=*}; name=${name%%:*}
        [ "$(sed -n "s/^$name:[A-Z]*=//p" "$dir/CMakeCache.txt" 2>/dev/null)" = "${option#*=}" ] || configure=1 ;;
    esac
  done
  if [ $configure = 1 ]; then
    cmake -S "$TOVRIX_ROOT" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$TOVRIX_ROOT/cmake/mingw-$arch.cmake" \
      -DTOVRIX_DEPS="$TOVRIX_DEPS/$arch" -DCMAKE_CROSSCOMPILING_EMULATOR=wine "$@" >/dev/null
  fi
  # shellcheck disable=SC2086  # several target names
  cmake --build "$dir" ${TOVRIX_BUILD_TARGETS:+--target $TOVRIX_BUILD_TARGETS} -- -j"$(nproc)"
}

# Starts a private Xvfb, with the WM_STATE stand-in, when there is no usable display (or always,
# with "own").
TOVRIX_XVFB_PID=
tovrix_display() {
  local mode=${1:-}
  if [ "$mode" != own ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=${TOVRIX_DISPLAY_NUMBER:-90}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  # shellcheck disable=SC2086  # TOVRIX_XVFB_ARGS holds several words
  Xvfb ":$n" -screen 0 "${TOVRIX_SCREEN:-1280x800x24}" -nolisten tcp ${TOVRIX_XVFB_ARGS:-} >/dev/null 2>&1 &
  TOVRIX_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  # No window manager runs here, so Wine would wait 2 s for one whenever it shows or hides a window
  # with a caption; the stand-in answers that wait and does nothing else (it ends with the display).
  "$TOVRIX_WM_STATE" >/dev/null 2>&1 &
  trap tovrix_cleanup EXIT
}

tovrix_cleanup() {
  if [ -n "$TOVRIX_XVFB_PID" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    kill "$TOVRIX_XVFB_PID" 2>/dev/null || true
    wait "$TOVRIX_XVFB_PID" 2>/dev/null || true
    TOVRIX_XVFB_PID=
  fi
}

# A persistent server keeps Wine from waiting for its helpers after every program.
tovrix_wineserver() {
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 || true
}

# Sets Wine's display scale in the prefix: LogPixels (96 = 100 %, 120, 144, 192), which the Wine
# server reads when it starts; the prefix's server is stopped. False when the value did not stick.
tovrix_prefix_dpi() {  # dpi
  local dword; dword=$(printf '%08x' "$1")
  wineserver -p >/dev/null 2>&1 || true
  wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  grep -qi "\"LogPixels\"=dword:$dword" "$WINEPREFIX/system.reg"
}
