# Shows a virtual display in a web browser: a VNC server on the display and noVNC served by
# websockify, both bound to localhost. Sourced by scripts/run.
# shellcheck shell=bash

TOVRIX_VIEWER_PIDS=()

# The first port from $1 upwards on which nothing listens on localhost.
tovrix_free_port() {
  python3 - "$1" <<'PY'
import socket, sys
port = int(sys.argv[1])
while True:
    with socket.socket() as s:
        try:
            s.bind(("127.0.0.1", port))
            break
        except OSError:
            port += 1
print(port)
PY
}

tovrix_wait_port() {
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Starts the VNC server and the web viewer for $DISPLAY and prints where to look.
tovrix_viewer_start() {
  local vnc web
  vnc=$(tovrix_free_port 5900)
  x11vnc -display "$DISPLAY" -localhost -rfbport "$vnc" -nopw -forever -shared -quiet \
    >/dev/null 2>&1 &
  TOVRIX_VIEWER_PIDS+=($!)
  tovrix_wait_port "$vnc" || { echo "viewer: the VNC server did not start" >&2; return 1; }
  web=$(tovrix_free_port 6080)
  websockify --web /usr/share/novnc "127.0.0.1:$web" "127.0.0.1:$vnc" >/dev/null 2>&1 &
  TOVRIX_VIEWER_PIDS+=($!)
  tovrix_wait_port "$web" || { echo "viewer: the web viewer did not start" >&2; return 1; }
  TOVRIX_VIEWER_VNC_PORT=$vnc
  TOVRIX_VIEWER_WEB_PORT=$web
  cat >&2 <<MSG
Tovrix runs on the virtual display $DISPLAY. Watch and use it in a browser:
  http://localhost:$web/vnc.html?autoconnect=1&resize=scale
(or with a VNC viewer: localhost:$vnc). From another machine, forward the port first:
  ssh -L $web:localhost:$web $(id -un)@$(hostname)
MSG
}

tovrix_viewer_stop() {
  local pid
  for pid in "${TOVRIX_VIEWER_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${TOVRIX_VIEWER_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  TOVRIX_VIEWER_PIDS=()
}
