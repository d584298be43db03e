#!/usr/bin/env bash
# scripts/run on a machine without a display: Tovrix runs on a virtual display, the printed
# address serves the browser viewer and the VNC server answers while Tovrix runs, and the
# display, the VNC server and the viewer are all gone once Tovrix has ended.
# Runs in a Wine prefix of its own: one Wine server serves every display of a prefix, so sharing
# the test session's prefix would put Tovrix's windows on the session's display.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$log" >&2; exit 1; }

# Named after the session's prefix, so that two test runs side by side keep theirs apart too.
export TOVRIX_WINEPREFIX=${WINEPREFIX:-${TOVRIX_CACHE:-$HOME/.cache/tovrix}/wineprefix}-viewer
# The build of the program under test: build/<build>/bin/Tovrix.exe.
build=$(basename "$(dirname "$(dirname "$1")")")
env -u DISPLAY -u TOVRIX_DISPLAY_NUMBER WINEPREFIX="$TOVRIX_WINEPREFIX" \
  "$root/scripts/run" --build "$build" >"$log" 2>&1 &
run=$!

url=
for _ in $(seq 1800); do
  url=$(grep -o 'http://localhost:[0-9]*/vnc.html[^ ]*' "$log" || true)
  [ -n "$url" ] && break
  kill -0 "$run" 2>/dev/null || fail "scripts/run ended before it printed the viewer's address"
  sleep 0.1
done
[ -n "$url" ] || fail "no viewer address within 180 s"
web=$(sed -E 's|http://localhost:([0-9]+)/.*|\1|' <<<"$url")
vnc=$(grep -o 'VNC viewer: localhost:[0-9]*' "$log" | grep -o '[0-9]*$')

page=$(curl -fsS "http://127.0.0.1:$web/vnc.html") || fail "the viewer page is not served"
grep -qi novnc <<<"$page" || fail "the page served is not the viewer"
banner=$(python3 -c "
import socket, sys
s = socket.create_connection(('127.0.0.1', int(sys.argv[1])), timeout=10)
print(s.recv(12).decode().strip())" "$vnc") || fail "the VNC server does not answer"
[[ $banner == RFB\ 003.* ]] || fail "unexpected VNC greeting: $banner"

# Tovrix shows its settings dialog; Esc there (its Cancel) ends the program, and with it the run.
# The key goes through the virtual display, as a person's would.
display=$(grep -o 'virtual display :[0-9]*' "$log" | head -n 1 | grep -o ':[0-9]*' || true)
[ -n "$display" ] || fail "scripts/run did not name its virtual display"
dialog=
for _ in $(seq 240); do
  dialog=$(DISPLAY=$display xdotool search --onlyvisible --name '^Tovrix$' 2>/dev/null | head -n 1 || true)
  [ -n "$dialog" ] && break
  kill -0 "$run" 2>/dev/null || fail "scripts/run ended before Tovrix showed its settings dialog"
  sleep 0.5
done
[ -n "$dialog" ] || fail "Tovrix showed no settings dialog on the virtual display"
DISPLAY=$display xdotool windowfocus --sync "$dialog" key Escape || fail "the key did not reach the display"
for _ in $(seq 120); do
  kill -0 "$run" 2>/dev/null || break
  sleep 0.5
done
if kill -0 "$run" 2>/dev/null; then kill "$run"; fail "Tovrix did not end when its dialog was closed"; fi
wait "$run" || true

for port in "$web" "$vnc"; do
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then fail "port $port still answers after the run"; fi
done
[ -z "$display" ] || [ ! -e "/tmp/.X11-unix/X${display#:}" ] || fail "the virtual display $display is still there"
echo "viewer served on $web, VNC on $vnc, all gone after the run"
